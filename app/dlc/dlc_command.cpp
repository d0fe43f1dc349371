// The -dlc command: switches the card between its two capacity layouts.
// Everything that can be checked is checked before the card is touched:
// the controller's and the modules' DLC support, the card and volume
// state, and every module (unlock, configuration image, model). Only then
// is manufacturing page 10's DLC bit written and the volume deleted. A
// module that fails after that ends the change: the modules changed so
// far get their old settings back, the bit is put back, and the volume is
// built again from the modules present, so that the card is never left
// half converted or without its volume unless the output says so.
#include <vector>

#include "app/card/adapter_reset.h"
#include "app/card/card_state.h"
#include "app/card/device_protocol.h"
#include "app/card/device_slots.h"
#include "app/card/module_ata.h"
#include "app/card/raid_volume_ops.h"
#include "app/card/slot_naming.h"
#include "app/card/ssd_config_fields.h"
#include "app/dlc/dlc_controller.h"
#include "app/dlc/dlc_host_view.h"
#include "app/dlc/dlc_image.h"
#include "app/dlc/dlc_models.h"
#include "app/dlc/dlc_options.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "module_unlock_constants.h"

namespace {

namespace fs = ssd_format_settings;

constexpr uint8_t kUnlockLevel = 1;
constexpr uint32_t kSetMaxTries = 3;
constexpr uint32_t kVolumeSettleSeconds = 5;
constexpr uint32_t kApplyWaitSeconds = 15;
constexpr uint32_t kPhySettleSeconds = 5;
constexpr uint32_t kValidateSettleSeconds = 5;
constexpr uint8_t kValidateTries = 10;
// Identify words 100-101: the low 32 bits of the current maximum (48-bit).
constexpr size_t kIdentifyMaxSectors = 200;

enum : uint32_t {
  kStateSet = 0,
  kStateFailed = 3,
};

// One module of the change and how far it got, so that a failure can put
// back exactly what was changed.
struct DlcModule {
  uint32_t slot = 0;
  uint32_t ssd = 0;
  uint32_t maxLba = 0;       // the sectors this run gives it
  uint32_t originalMax = 0;  // the sectors it reported before
  DlcFieldValues saved{};
  std::vector<uint8_t> settings = std::vector<uint8_t>(fs::kReadSize);
  bool imageTouched = false;
  bool settingsTouched = false;
  bool maxTouched = false;
};

uint16_t Slot16(uint32_t slot) { return static_cast<uint16_t>(slot); }

void PrintFormatFailed(uint32_t slot) {
  ConsolePrint("\nERROR: Format failed for component at \"Cage=%u Location=%s\".", SlotToCage(Slot16(slot)),
               SlotToLocation(Slot16(slot)));
}

// The slots the card says hold a module: the members of its volumes, or
// on a card without a volume its devices (while a volume stands, the
// devices are the volume's targets). A slot among them for which no
// module handle comes back is a module the change would pass over. 0 with
// the flags and the members, or 1.
uint32_t KnownModuleSlots(uint32_t vx, bool* known, std::vector<uint32_t>* members) {
  LibHandle handle = vx;
  uint32_t volumes = 0;
  if (QmxCountVolumes(&handle, &volumes) != kLibOk) return 1;
  VolumeMemberTable table;
  for (uint32_t index = 0; index < volumes; ++index) {
    MemSet(&table, 0, sizeof table);
    if (GetVolumeMemberTable(vx, index, &table) != 0) return 1;
    uint32_t memberCount = Get8(table.volume.bytes, volume_info::kMemberCount);
    for (uint32_t m = 0; m < memberCount && m < kCardModuleSlots; ++m) {
      if (table.memberSlot[m] < kCardModuleSlots) {
        known[table.memberSlot[m]] = true;
        members->push_back(table.memberSlot[m]);
      }
    }
  }
  if (volumes != 0) return 0;
  uint32_t slots[kDeviceSlotRoom] = {};
  uint32_t count = 0;
  if (CollectDeviceSlots(vx, slots, &count) != 0) return 1;
  for (uint32_t i = 0; i < count; ++i) {
    if (slots[i] < kCardModuleSlots) known[slots[i]] = true;
  }
  return 0;
}

// Unlocks the module and reads its whole configuration image. 0, or 1
// after the message.
uint32_t UnlockAndRead(uint32_t vx, uint32_t ssd, SsdConfigImage* image) {
  if (LibZKSSDUnlock(vx, ssd, kUnlockLevel, kModuleUnlockCredential) != 0) {
    ConsolePrint("\nERROR : Error in LibZKSSDUnlock.\n");
    return 1;
  }
  if (ReadSsdConfigImage(vx, ssd, image) != 0) {
    ConsolePrint("\nERROR : Error in SSD read configuration.\n");
    return 1;
  }
  return 0;
}

// The checks of every module before anything is changed: every module the
// card knows of can be found, unlocked and read, it is a model that takes
// DLC, and its current size is known (for a restore). 0 with the list and
// the slots of the volume's members, or 1 after the message.
uint32_t PrepareModules(uint32_t vx, uint8_t enable, std::vector<DlcModule>* modules,
                        std::vector<uint32_t>* members) {
  bool known[kCardModuleSlots] = {};
  if (KnownModuleSlots(vx, known, members) != 0) {
    ConsolePrint("ERROR: Corvexium is not in a proper state.\n");
    return 1;
  }
  SsdConfigImage image;
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (LibZKGetSSDHandle(vx, slot, &ssd) != 0) {
      if (!known[slot]) continue;
      ConsolePrint("\nERROR: No SSD found in SSD slot %u\n", slot);
      return 1;
    }
    if (UnlockAndRead(vx, ssd, &image) != 0) return 1;
    DiagInfoBlock diag;
    MemSet(&diag, 0, sizeof diag);
    if (LibZKSSDGetDiagInfo(vx, ssd, diag.bytes, diag_info::kReadSize) != 0) {
      ConsolePrint("Failed to get diagnostic information.\n");
      return 1;
    }
    DlcSizeClass sizeClass =
        DlcModelClass(GetLe32(diag.bytes, diag_info::kModelType), GetLe32(diag.bytes, diag_info::kConfigId));
    if (sizeClass == DlcSizeClass::kUnsupported) {
      ConsolePrint("\n DLC unsupported\n");
      return 1;
    }
    uint8_t identify[kIdentifySize];
    if (AtaIdentifyDevice(vx, ssd, identify) != 0) {
      ConsolePrint("\nERROR : Failed to read the size of the component at \"Cage=%u Location=%s\".\n",
                   SlotToCage(Slot16(slot)), SlotToLocation(Slot16(slot)));
      return 1;
    }
    DlcModule module;
    module.slot = slot;
    module.ssd = ssd;
    module.maxLba = DlcMaxLbaValue(sizeClass, enable);
    module.originalMax = GetLe32(identify, kIdentifyMaxSectors);
    modules->push_back(std::move(module));
  }
  return 0;
}

// SET MAX ADDRESS right after READ NATIVE MAX ADDRESS, at most three
// times a second apart. 0, or 1 (a native max address that cannot be read
// after its message).
uint32_t SetModuleMax(uint32_t vx, uint32_t ssd, uint32_t sectors, bool* native) {
  *native = true;
  for (uint32_t attempt = 0; attempt < kSetMaxTries; ++attempt) {
    uint32_t nativeMax = 0;
    if (ReadNativeMaxAddress(vx, ssd, &nativeMax) != 0) {
      ConsolePrint("Failed to get native max address.\n");
      *native = false;
      return 1;
    }
    if (SetMaxAddress(vx, ssd, sectors - 1) == 0) return 0;
    SleepSeconds(1);
  }
  return 1;
}

// The change of one module: its image fields, its format settings, the
// erase and its new maximum. 0, or 1 after the message.
uint32_t ConvertModule(uint32_t vx, uint8_t enable, DlcModule* m) {
  // The module's handle changes when the volume that held it goes.
  if (LibZKGetSSDHandle(vx, m->slot, &m->ssd) != 0) {
    ConsolePrint("\nERROR: No SSD found in SSD slot %u\n", m->slot);
    return 1;
  }
  SsdConfigImage image;
  if (UnlockAndRead(vx, m->ssd, &image) != 0) return 1;
  uint32_t errorCode = 0;
  m->imageTouched = true;
  if (ModifyDlcSetting(vx, m->ssd, &image, enable, &m->saved, &errorCode, m->maxLba) != 0) return 1;
  bool settingsRead = false;
  uint32_t changed = ChangeSectorSize(vx, m->ssd, m->maxLba, m->settings.data(), &settingsRead);
  m->settingsTouched = settingsRead;
  if (changed != 0) return 1;

  ConsolePrint("\n\tFormat component at \"Cage=%u Location=%s\".", SlotToCage(Slot16(m->slot)),
               SlotToLocation(Slot16(m->slot)));
  if (LibZKSSDSecureErase(vx, m->ssd, kModuleErasePassword) != 0) {
    PrintFormatFailed(m->slot);
    return 1;
  }
  m->maxTouched = true;
  bool native = true;
  if (SetModuleMax(vx, m->ssd, m->maxLba, &native) != 0) {
    if (native) ConsolePrint("\nFailed to set max address.\n");
    return 1;
  }
  ConsolePrint("\n\tDLC state is set successfully at \"Cage=%u Location=%s\".", SlotToCage(Slot16(m->slot)),
               SlotToLocation(Slot16(m->slot)));
  return 0;
}

// Puts back what the run changed on one module. 0, or 1 after the message.
uint32_t RestoreModule(uint32_t vx, DlcModule* m) {
  uint32_t result = 0;
  if (m->imageTouched) {
    SsdConfigImage image;
    result = UnlockAndRead(vx, m->ssd, &image);
    if (result == 0) result = RestoreDLCSetting(vx, m->ssd, &image, m->saved);
  }
  if (result == 0 && m->settingsTouched) result = RestoreFormatSettings(vx, m->ssd, m->settings.data());
  if (result == 0 && (m->imageTouched || m->maxTouched)) {
    bool native = true;
    result = SetModuleMax(vx, m->ssd, m->originalMax, &native);
  }
  if (result != 0) {
    ConsolePrint("\nERROR : Failed to restore the DLC settings of the component at \"Cage=%u Location=%s\".\n",
                 SlotToCage(Slot16(m->slot)), SlotToLocation(Slot16(m->slot)));
  }
  return result;
}

// The modules changed so far, last first. 0 when all were restored.
uint32_t RestoreModules(uint32_t vx, std::vector<DlcModule>* modules) {
  ConsolePrint("\nRestoring the DLC settings of the components changed...\n");
  uint32_t result = 0;
  for (auto it = modules->rbegin(); it != modules->rend(); ++it) {
    if (!it->imageTouched && !it->settingsTouched && !it->maxTouched) continue;
    if (RestoreModule(vx, &*it) != 0) result = 1;
  }
  if (result == 0) ConsolePrint("\nThe DLC settings of the components were restored.\n");
  return result;
}

// Whether every former member is among the listed slots.
bool HoldsAll(const uint32_t* slots, uint32_t count, const std::vector<uint32_t>& members) {
  for (uint32_t member : members) {
    bool found = false;
    for (uint32_t i = 0; i < count; ++i) found = found || slots[i] == member;
    if (!found) return false;
  }
  return true;
}

// The volume again, from the modules the card now has, in device order:
// only when they are the members it had, so that a module the card lost
// from its list does not give a volume of other members. 0 or 1 after the
// message.
uint32_t RecreateDlcVolume(uint32_t vx, const std::vector<uint32_t>& members) {
  uint32_t slots[kDeviceSlotRoom] = {};
  uint32_t count = 0;
  if (CollectDeviceSlots(vx, slots, &count) != 0 || !HoldsAll(slots, count, members) ||
      CreateRaidVolume(SelectedController - 1, count, slots, kVolumeTypeRaid0Only) != 0) {
    ConsolePrint("\nERROR : Cannot re-create volume. The components are left without a volume.\n");
    return 1;
  }
  SleepSeconds(kVolumeSettleSeconds);
  return 0;
}

// Whether the card still holds a volume (after a delete that reported a
// failure: it may have gone all the same).
bool VolumeRemains(uint32_t vx) {
  LibHandle handle = vx;
  uint32_t volumes = 0;
  QmxRefreshAdapter(&handle);
  return QmxCountVolumes(&handle, &volumes) != kLibOk || volumes != 0;
}

// Takes every module's phy off the bus and resets the adapter, so that the
// host finds the modules again with their new sizes. The reset follows
// also when a phy could not be taken off, since it brings back those that
// were. 0, or the failing step's status after its message.
uint32_t ApplyDlcChanges(uint32_t vx) {
  ConsolePrint("\nApplying DLC configuration changes. This may take a while...\n");
  SleepSeconds(kApplyWaitSeconds);
  uint32_t result = 0;
  for (uint32_t slot = 0; slot < kCardModuleSlots && result == 0; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (LibZKGetSSDHandle(vx, slot, &ssd) != 0) continue;
    if (DisableSlotPhy(vx, slot) != 0) {
      ConsolePrint("\nERROR : Failed to disable slot.\n");
      result = 1;
    }
  }
  SleepSeconds(kPhySettleSeconds);
  // The library's records of the adapter are rebuilt after every reset
  // attempt: nothing may read the old ones.
  AdapterResetResult done = ResetAndRebuildAdapter(vx);
  if (done.reset != kLibOk) {
    ConsolePrint("\nERROR : Failed to reset controller.\n");
    if (result == 0) result = done.reset;
  }
  if (done.rebuild != kLibOk) {
    ConsolePrint("\nERROR : Failed to re-discover devices.\n");
    if (result == 0) result = done.rebuild;
  }
  return result;
}

uint32_t RunDlc(const DlcOptions& options) {
  AdapterInfoBlock adapter;
  MemSet(&adapter, 0, sizeof adapter);
  uint32_t size = sizeof adapter;
  if (QmxGetAdapterInfo(SelectedController - 1, nullptr, &adapter, &size) != kLibOk) {
    ConsolePrint("\nERROR: Failed getting controller information.\n");
    return 1;
  }
  const uint32_t vx = adapter.adapterHandle;

  uint32_t code = kDlcSupported;
  bool enabledBefore = false;
  if (ReadControllerDlcSupport(vx, &code, &enabledBefore) != 0) return 1;
  if (code == kDlcSupported) CheckVskDlcSupport(vx, &code);
  if (code == kDlcNoControllerSupport) {
    ConsolePrint("\nDLC is not supported in CX firmware \n");
    return 1;
  }
  if (code == kDlcNoModuleSupport) {
    ConsolePrint("\nDLC is not supported in VSK firmware \n");
    return 1;
  }
  bool unconfigured = false;
  if (CheckCardState(&unconfigured) != 0) return 1;
  bool volumePresent = false;
  if (!CheckVolumeState(vx, &volumePresent)) return 1;
  std::vector<DlcModule> modules;
  std::vector<uint32_t> members;
  if (PrepareModules(vx, options.enable, &modules, &members) != 0) return 1;
  if (modules.empty()) {
    ConsolePrint("\nFailed to set DLC state\n");
    return 1;
  }

  if (SetControllerDlcBit(vx, options.enable) != 0) {
    SetControllerDlcBit(vx, enabledBefore ? 1 : 0);
    return 1;
  }
  ConsolePrint("\n%s: DLC enable config bit written successfully.\n", kUtilityTitle);
  if (volumePresent) {
    ConsolePrint("%s: Deleting volume...\n", kUtilityTitle);
    ConsolePrint("%s: Please wait, may take up to a minute...\n", kUtilityTitle);
    if (DeleteRaidVolume(SelectedController - 1) != 0) {
      ConsolePrint("ERROR : Cannot delete volume.\n");
      SetControllerDlcBit(vx, enabledBefore ? 1 : 0);
      if (!VolumeRemains(vx)) RecreateDlcVolume(vx, members);
      return 1;
    }
  }

  uint32_t state = kStateFailed;
  bool failed = false;
  for (DlcModule& module : modules) {
    if (ConvertModule(vx, options.enable, &module) != 0) {
      failed = true;
      break;
    }
  }
  if (failed) {
    RestoreModules(vx, &modules);
    SetControllerDlcBit(vx, enabledBefore ? 1 : 0);
  } else {
    state = kStateSet;
  }
  uint32_t result = failed ? 1 : 0;
  if (volumePresent && RecreateDlcVolume(vx, members) != 0) result = 1;
  if (state != kStateSet) {
    ConsolePrint("\nFailed to set DLC state\n");
    return 1;
  }
  ConsolePrint("\n DLC state set successfully\n");

  uint32_t applied = ApplyDlcChanges(vx);
  if (applied != 0) return applied;

  if (options.validate != 0) {
    // Each module is checked against the size it was given.
    std::vector<DlcExpectedSize> expected;
    for (const DlcModule& module : modules) expected.push_back(DlcExpectedSize{module.slot, module.maxLba});
    if (ValidateDlcSizes(expected.data(), static_cast<uint32_t>(expected.size()), kValidateTries) != 0) {
      ConsolePrint("\nDLC Validation failed...\n");
      return 1;
    }
    SleepSeconds(kValidateSettleSeconds);
    ConsolePrint("\nDLC Validation passed...\n");
  }
  return result;
}

}  // namespace

int DlcCommandExec(CommandContext* context) {
  DlcOptions options{};
  AppBuffer record = TakeParams(context);
  if (record) MemCopy(&options, record.get(), sizeof options);
  return static_cast<int>(RunDlc(options));
}
