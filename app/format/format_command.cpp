// The execute operation of the format command: with the options read, it
// takes the card's volume apart, secure-erases each selected module
// (optionally with the extended media erase), gives each the
// over-provisioning target by SET MAX ADDRESS, resets the controller so
// that the new sizes are seen, and builds the RAID0 volume again.
//
// Everything that can be checked is checked before the volume goes: the
// card state, the module count against what the volume needs, and for
// every selected module its unlock, configuration image, diagnostic
// information and, with over-provisioning, whether it can take the target.
// Once the volume is deleted, a later failure still builds it again from
// the modules present, and the command fails saying so; a module's media
// erase mode is put back on every path.
#include <vector>

#include "app/card/adapter_reset.h"
#include "app/card/board_type.h"
#include "app/card/card_state.h"
#include "app/card/device_protocol.h"
#include "app/card/device_slots.h"
#include "app/card/module_ata.h"
#include "app/card/page_readers.h"
#include "app/card/raid_limits.h"
#include "app/card/raid_volume_ops.h"
#include "app/card/slot_naming.h"
#include "app/card/ssd_config_fields.h"
#include "app/card/target_reset.h"
#include "app/format/erase_mode.h"
#include "app/format/format_options.h"
#include "app/format/op_target.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/pages/manufacturing_pages.h"
#include "module_unlock_constants.h"

namespace {

constexpr uint32_t kSetMaxAttempts = 3;
constexpr uint32_t kVolumeSettleSeconds = 5;
constexpr uint8_t kUnlockLevel = 1;
constexpr uint32_t kHighestErasedSlotOnUnconfiguredBoard = 3;

// What one run has found and done.
struct FormatRun {
  const FormatOptions* options = nullptr;
  bool unconfigured = false;
  AdapterInfoBlock adapter{};
  uint32_t vx = 0;
  uint32_t volumeCount = 0;
  bool volumeExists = false;
  bool volumeDegraded = false;
  bool volumeDeleted = false;
  bool failed = false;
  bool slotFound = false;
  bool notified = false;
  bool maxSet = false;
  bool setMaxFailed = false;
  uint32_t target = 0;
  uint32_t lastDlcEnabled = 0;
  uint32_t deviceCount = 0;
  // The selected modules the checks found, and those the device loop
  // reached: a module the loop does not find among the devices is not
  // formatted, and the run cannot say it was.
  bool checked[kCardModuleSlots] = {};
  bool reached[kCardModuleSlots] = {};
};

uint16_t Slot16(uint32_t slot) { return static_cast<uint16_t>(slot); }

void PrintFormatFailed(uint32_t slot) {
  ConsolePrint("\nERROR: Format failed for component at \"Cage=%u Location=%s\".", SlotToCage(Slot16(slot)),
               SlotToLocation(Slot16(slot)));
}

bool Selected(const FormatRun& run, uint32_t slot) {
  return run.options->allSlots != 0 || slot == run.options->slot;
}

// The volumes of the card: whether there are any and whether one is
// failed or degraded. 0, or 1 after the message.
uint32_t ReadVolumes(FormatRun* run) {
  LibHandle handle = run->vx;
  if (QmxCountVolumes(&handle, &run->volumeCount) != kLibOk) {
    ConsolePrint("ERROR: Corvexium is not in a proper state.\n");
    return 1;
  }
  if (run->volumeCount == 0) return 0;
  run->volumeExists = true;
  VolumeMemberTable table;
  for (uint32_t index = 0; index < run->volumeCount; ++index) {
    MemSet(&table, 0, sizeof table);
    if (GetVolumeMemberTable(run->vx, index, &table) != 0) {
      ConsolePrint("\nFailed to get volume information.");
      return 1;
    }
    uint32_t state = GetLe32(table.volume.bytes, volume_info::kVolumeState);
    if (state == kVolumeStateFailed || state == kVolumeStateDegraded) run->volumeDegraded = true;
  }
  return 0;
}

// The checks of every selected module before the volume goes: it can be
// unlocked, its configuration image and diagnostic information read, and
// with over-provisioning its native maximum takes the target (a module
// with DLC enabled keeps its size and is not asked). On a configured card
// the volume needs the expected member count. 0, or 1 after the message.
uint32_t CheckModules(FormatRun* run) {
  uint32_t modules = 0;
  SsdConfigImage image;
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (LibZKGetSSDHandle(run->vx, slot, &ssd) != 0) continue;
    ++modules;
    if (!Selected(*run, slot)) continue;
    run->checked[slot] = true;
    uint32_t dlcEnabled = 0;
    if (GetSsdDlcState(run->vx, ssd, &image, &dlcEnabled) != 0) return 1;
    DiagInfoBlock diag;
    MemSet(&diag, 0, sizeof diag);
    if (LibZKSSDGetDiagInfo(run->vx, ssd, diag.bytes, diag_info::kReadSize) != 0) {
      ConsolePrint("  %s : Failed to get Configuration ID \n", kUtilityTitle);
      return 1;
    }
    if (run->options->opRequested == 0 || dlcEnabled != 0) continue;
    uint32_t nativeMax = 0;
    if (ReadNativeMaxAddress(run->vx, ssd, &nativeMax) != 0) {
      ConsolePrint("Failed to get native max address.\n");
      return 1;
    }
    if (run->target > nativeMax) {
      ConsolePrint("\nSelected over provisioning is not supported.\n");
      return 1;
    }
  }
  if (!run->unconfigured) {
    LoadIocPage6Limits(run->vx);
    if (modules != RaidExpectedMembers) {
      ConsolePrint(
          "\nERROR: Component count mismatch. Actual component count = %u and Expected component count = %u.\n",
          modules, static_cast<uint32_t>(RaidExpectedMembers));
      return 1;
    }
  }
  return 0;
}

// SET MAX ADDRESS right after READ NATIVE MAX ADDRESS, at most three times
// a second apart. 0, or 1 after its message.
uint32_t SetModuleMax(const FormatRun& run, uint32_t ssd) {
  for (uint32_t attempt = 0; attempt < kSetMaxAttempts; ++attempt) {
    uint32_t nativeMax = 0;
    if (ReadNativeMaxAddress(run.vx, ssd, &nativeMax) != 0) {
      ConsolePrint("Failed to get native max address.\n");
      break;
    }
    if (SetMaxAddress(run.vx, ssd, run.target) == 0) return 0;
    SleepSeconds(1);
  }
  ConsolePrint("Failed to set max address.\n");
  return 1;
}

// One device of the card. False when the device loop must end here.
bool FormatDevice(FormatRun* run, uint32_t index) {
  DeviceInfoBlock record;
  MemSet(&record, 0, sizeof record);
  uint32_t size = sizeof record;
  LibHandle handle = run->vx;
  if (QmxGetDeviceInfo(index, &handle, nullptr, &record, &size) != kLibOk) {
    run->failed = true;
    return true;
  }
  const uint32_t slot = GetLe16(record.bytes, device_info::kSlot);
  const uint16_t devHandle = GetLe16(record.bytes, device_info::kDevHandle);
  if (run->options->allSlots == 0) {
    if (slot != run->options->slot) return true;
    run->slotFound = true;
  }
  uint32_t protocol = 0;
  GetDeviceProtocol(slot, &protocol);
  if (protocol != kProtocolSata) return true;
  uint32_t ssd = kNoModuleHandle;
  if (LibZKGetSSDHandle(run->vx, slot, &ssd) != 0) {
    ConsolePrint("\nERROR: No SSD found in SSD Slot %u\n", slot);
    run->failed = true;
    return true;
  }
  if (slot < kCardModuleSlots) run->reached[slot] = true;

  const bool erase = run->options->eraseFlash != 0;
  bool moduleFailed = false;
  bool modeChanged = false;
  uint8_t savedByte = 0;
  uint32_t dlcEnabled = 0;
  SsdConfigImage image;
  if (erase) {
    if (!run->notified) run->notified = NotifyMediaErase(run->vx, 1) == 0;
    uint32_t set = 1;
    if (run->notified) set = SetSsdSecureEraseMode(run->vx, ssd, &image, &savedByte, ssd_config::kEraseExtended,
                                                   &dlcEnabled, 1);
    if (set != 0) {
      ConsolePrint("\nERROR : Failed to set the Security Erase behavior.\n");
      moduleFailed = true;
      // A write that went out may have changed the byte: it is put back too.
      modeChanged = run->notified;
    } else {
      modeChanged = true;
    }
    if (!run->unconfigured) dlcEnabled = 0;
  } else {
    if (SetSsdSecureEraseMode(run->vx, ssd, &image, nullptr, 0, &dlcEnabled, 0) != 0) moduleFailed = true;
    if (!moduleFailed && run->unconfigured && GetSsdDlcState(run->vx, ssd, &image, &dlcEnabled) != 0) {
      moduleFailed = true;
    }
  }

  if (!moduleFailed) {
    run->lastDlcEnabled = dlcEnabled;
    DiagInfoBlock diag;
    MemSet(&diag, 0, sizeof diag);
    uint32_t read = LibZKSSDGetDiagInfo(run->vx, ssd, diag.bytes, diag_info::kReadSize);
    if (run->adapter.subsystemDeviceId == kUnconfiguredSubsystemId && slot > kHighestErasedSlotOnUnconfiguredBoard) {
      if (read != 0) moduleFailed = true;
    } else if (read != 0) {
      ConsolePrint("  %s : Failed to get Configuration ID \n", kUtilityTitle);
      PrintFormatFailed(slot);
      moduleFailed = true;
    } else if (LibZKSSDSecureErase(run->vx, ssd, kModuleErasePassword) != 0) {
      PrintFormatFailed(slot);
      moduleFailed = true;
    } else {
      ConsolePrint(".");
    }
  }

  const bool op = run->options->opRequested != 0;
  if (run->unconfigured && dlcEnabled != 0 && op) {
    ConsolePrint("\n As DLC is enabled, OP cannot be changed at \"Cage=%u Location=%s\".", SlotToCage(Slot16(slot)),
                 SlotToLocation(Slot16(slot)));
  }
  bool goOn = true;
  if (!moduleFailed && op && dlcEnabled == 0) {
    if (SetModuleMax(*run, ssd) != 0) {
      moduleFailed = true;
      run->setMaxFailed = true;
      goOn = false;
    } else {
      if (SendTargetReset(run->vx, devHandle) != 0) {
        ConsolePrint("Failed to reset target.\n");
        moduleFailed = true;
      } else {
        run->maxSet = true;
      }
    }
  }

  if (erase && modeChanged) {
    uint32_t ignored = 0;
    if (SetSsdSecureEraseMode(run->vx, ssd, &image, nullptr, savedByte, &ignored, 1) != 0) {
      ConsolePrint("\nERROR : Failed to restore the default behavior.\n");
      moduleFailed = true;
    }
  }
  if (moduleFailed) run->failed = true;
  return goOn;
}

// Resets the adapter and rebuilds the library's records of it. 0 or 1.
uint32_t ResetAndRediscover(uint32_t vx) {
  AdapterResetResult done = ResetAndRebuildAdapter(vx);
  return done.reset == kLibOk && done.rebuild == kLibOk ? 0 : 1;
}

// The RAID0 volume of the listed slots, its settle time, and the reset and
// rebuild that make the host see it. 0 or 1.
uint32_t RecreateVolume(uint32_t componentCount, const LibHandle* adapter, const uint32_t* slots) {
  if (CreateRaidVolume(SelectedController - 1, componentCount, slots, kVolumeTypeRaid0Only) != 0) return 1;
  SleepSeconds(kVolumeSettleSeconds);
  return ResetAndRediscover(*adapter);
}

uint32_t RunFormat(FormatRun* run) {
  const FormatOptions& options = *run->options;
  if (CheckCardState(&run->unconfigured) != 0) return 1;
  if (options.allSlots == 0 && SlotToCage(options.slot) == 0) {
    ConsolePrint("ERROR: SSD Slot %u not applicable\n", static_cast<uint32_t>(options.slot));
    return 1;
  }
  uint32_t size = sizeof run->adapter;
  if (QmxGetAdapterInfo(SelectedController - 1, nullptr, &run->adapter, &size) != kLibOk) {
    ConsolePrint("\nERROR: Failed getting controller information.\n");
    return 1;
  }
  run->vx = run->adapter.adapterHandle;
  LibHandle handle = run->vx;
  if (QmxRefreshAdapter(&handle) != kLibOk) return 1;
  if (ReadVolumes(run) != 0) return 1;
  if (options.opRequested != 0) {
    uint32_t supported = 0;
    uint32_t result = ComputeOpTarget(&supported, &options, &run->target, run->volumeExists ? 1 : 0,
                                      run->volumeDegraded ? 1 : 0, run->volumeCount);
    if (result != 0) {
      ConsolePrint("\nFailed to get information about supported OP");
      return result;
    }
    if (supported == 0) {
      ConsolePrint("\nSelected over provisioning is not supported.\n");
      return 1;
    }
  }
  if (CheckModules(run) != 0) return 1;

  if (run->volumeExists) {
    ConsolePrint("%s: Preparing Corvexium for format.\n", kUtilityTitle);
    if (DeleteRaidVolume(SelectedController - 1) != 0) {
      ConsolePrint("ERROR : Cannot prepare Corvexium for format.\n");
      run->failed = true;
      // The delete may have gone through all the same.
      uint32_t volumes = 1;
      QmxRefreshAdapter(&handle);
      if (QmxCountVolumes(&handle, &volumes) == kLibOk && volumes == 0) run->volumeDeleted = true;
    } else {
      run->volumeDeleted = true;
      SleepSeconds(kVolumeSettleSeconds);
    }
  }
  uint32_t volumeModeBits = 0;
  if (!run->failed && !run->volumeExists) {
    PageCopy page;
    if (ReadMfgPage10(run->vx, &page) == 0 && page.Holds(manufacturing_page10::kBoardFlags, 4)) {
      volumeModeBits = GetLe32(page.data(), manufacturing_page10::kBoardFlags) & manufacturing_page10::kVolumeModeMask;
    }
    if (volumeModeBits == 0) ConsolePrint("ERROR: Corvexium is not in a proper state.\n");
  }

  if (!run->failed) {
    ConsolePrint("%s: Please wait. Format of Corvexium is in progress.", kUtilityTitle);
    if (QmxGetDeviceCount(&handle, &run->deviceCount) != kLibOk) {
      run->failed = true;
    } else {
      if (options.eraseFlash != 0) {
        ConsolePrint("\nMedia Erase option is selected. Please DO NOT ABORT the command.\n");
      }
      for (uint32_t index = 0; index < run->deviceCount; ++index) {
        if (!FormatDevice(run, index)) break;
      }
      // A checked module that was not among the devices (the card lost it
      // from its list) was not formatted. After a SET MAX failure the
      // later devices are left on purpose, and the run has failed.
      for (uint32_t slot = 0; slot < kCardModuleSlots && !run->setMaxFailed; ++slot) {
        if (run->checked[slot] && !run->reached[slot] && options.allSlots != 0) {
          PrintFormatFailed(slot);
          run->failed = true;
        }
      }
      if (options.allSlots == 0 && !run->slotFound) {
        ConsolePrint("\nERROR: No SSD found in SSD Slot %u\n", static_cast<uint32_t>(options.slot));
      }
      if (run->notified) NotifyMediaErase(run->vx, 0);
      if (run->maxSet && options.opRequested != 0 && run->lastDlcEnabled == 0) {
        if (ResetAndRediscover(run->vx) != 0) {
          run->failed = true;
        } else {
          ConsolePrint("\n\nSelected over-provisioning level change is done successfully.\n\n");
        }
      }
    }
  }

  if (run->unconfigured) {
    if (run->failed || (options.allSlots == 0 && !run->slotFound)) return 1;
    ConsolePrint("\n%s: Corvexium format successfully completed.\n", kUtilityTitle);
    return 0;
  }
  if (volumeModeBits != 0) {
    if (run->failed) return 1;
    ConsolePrint("\n%s: Corvexium format successfully completed.\n", kUtilityTitle);
    return 0;
  }
  // A configured card without its volume: built again from the modules
  // the card now has, also after a failure once the volume was deleted.
  if (run->failed && run->volumeExists && !run->volumeDeleted) return 1;
  uint32_t slots[kDeviceSlotRoom] = {};
  uint32_t count = 0;
  LoadIocPage6Limits(run->vx);
  if (CollectDeviceSlots(run->vx, slots, &count) != 0 || count != RaidExpectedMembers) {
    ConsolePrint(
        "\nERROR: Component count mismatch. Actual component count = %u and Expected component count = %u.\n", count,
        static_cast<uint32_t>(RaidExpectedMembers));
    ConsolePrint("\nERROR: Corvexium could not be brought in usable state.\n");
    return 1;
  }
  if (RecreateVolume(count, &handle, slots) != 0) {
    ConsolePrint("\nERROR: Corvexium could not be brought in usable state.\n");
    return 1;
  }
  if (run->failed) {
    ConsolePrint("\nERROR: Format failed. The volume was re-created from the components present.\n");
    return 1;
  }
  ConsolePrint("\n%s: Corvexium format successfully completed.\n", kUtilityTitle);
  return 0;
}

}  // namespace

int FormatCommandExec(CommandContext* context) {
  FormatOptions options{};
  AppBuffer record = TakeParams(context);
  if (record) MemCopy(&options, record.get(), sizeof options);
  FormatRun run;
  run.options = &options;
  return static_cast<int>(RunFormat(&run));
}
