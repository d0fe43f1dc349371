// -resettarget: a SCSI TARGET RESET to the card's RAID volume on a
// configured card, or to the flash module in one slot on an unconfigured
// card.
#include <cstdint>

#include "app/card/card_state.h"
#include "app/card/slot_naming.h"
#include "app/card/target_reset.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "app/shell/whole_number.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

// The command's argument record: the module's slot (unconfigured card only).
struct ResetTargetOptions {
  uint8_t slot;
};

constexpr uint32_t kHighestSlot = 7;
constexpr int kSlotWords = 3;    // -resettarget -slot <ssd_slot>
constexpr uint8_t kVolumeWords = 1;  // -resettarget

enum : uint32_t {
  kVolumeFailed = 1,
  kVolumeDegraded = 4,
};

int ParseSlotCommandLine(int count, char** words, ResetTargetOptions* options) {
  if (count == kSlotWords && StrEqualNoCase(words[1], "-slot")) {
    // The number is checked whole before it is narrowed: 259 is not slot 3,
    // and a word that is not a number names no slot.
    uint32_t slot = 0;
    if (!ParseWholeNumber(words[2], &slot) || slot > kHighestSlot) {
      ConsolePrint("\n%s: Invalid entry.\n", kUtilityTitle);
      return kParseUsageError;
    }
    options->slot = static_cast<uint8_t>(slot);
    return kParseGoOn;
  }
  if (count == kSlotWords) {
    ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
  } else {
    ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
  }
  ConsolePrint("Usage :\n    %s <-c controller #> -resettarget -slot <ssd_slot>", kProgramName);
  return kParseUsageError;
}

int AskSlot(ResetTargetOptions* options) {
  ConsolePrint("Enter SSD Slot number: ");
  uint32_t flag = kEntryValid;
  uint32_t slot = ReadMenuNumber(0, kHighestSlot, &flag);
  if (flag == kEntryEnded) return kParseTerminated;
  if (flag != kEntryValid) return kParseUsageError;
  options->slot = static_cast<uint8_t>(slot);
  return kParseGoOn;
}

int ResetVolume(uint32_t vxHandle) {
  LibHandle adapter = vxHandle;
  uint32_t volumes = 0;
  if (QmxCountVolumes(&adapter, &volumes) != kLibOk || volumes == 0) {
    ConsolePrint("%s: Corvexium is not in a proper state.\n", kUtilityTitle);
    return 1;
  }
  VolumeInfo volume;
  MemSet(&volume, 0, sizeof volume);
  uint32_t size = sizeof volume;
  if (QmxGetVolumeInfo(nullptr, 0, &adapter, 1, &volume, &size) != kLibOk) return 1;
  uint32_t state = GetLe32(volume.bytes, volume_info::kVolumeState);
  if (state == kVolumeFailed || state == kVolumeDegraded) {
    ConsolePrint("\nVolume in failed state \n");
    ConsolePrint("\nVolume reset failed. \n");
    return 1;
  }
  uint32_t result = SendTargetReset(vxHandle, GetLe16(volume.bytes, volume_info::kDevHandle));
  ConsolePrint(result == 0 ? "\nVolume reset successful. \n" : "\nVolume reset failed. \n");
  return static_cast<int>(result);
}

// The DevHandle of the first of the adapter's devices whose record names
// the slot; false when there is none or a record cannot be read.
bool FindSlotDevHandle(uint32_t vxHandle, uint32_t devices, uint32_t slot, uint16_t* devHandle) {
  LibHandle adapter = vxHandle;
  for (uint32_t index = 0; index < devices; ++index) {
    DeviceInfoBlock record;
    MemSet(&record, 0, sizeof record);
    uint32_t size = sizeof record;
    if (QmxGetDeviceInfo(index, &adapter, nullptr, &record, &size) != kLibOk) return false;
    if (GetLe16(record.bytes, device_info::kSlot) == slot) {
      *devHandle = GetLe16(record.bytes, device_info::kDevHandle);
      return true;
    }
  }
  return false;
}

int ResetModule(uint32_t vxHandle, uint32_t slot) {
  if (SlotToCage(static_cast<uint16_t>(slot)) == 0) {
    ConsolePrint("\nERROR: SSD Slot %d not applicable\n", static_cast<int>(slot));
    return 1;
  }
  uint32_t ssdHandle = 0;
  if (LibZKGetSSDHandle(vxHandle, slot, &ssdHandle) != 0) {
    ConsolePrint("\nERROR: No SSD found in SSD slot %d\n", static_cast<int>(slot));
    return 1;
  }
  LibHandle adapter = vxHandle;
  uint32_t devices = 0;
  if (QmxGetDeviceCount(&adapter, &devices) != kLibOk) return 1;
  uint16_t devHandle = 0;
  if (!FindSlotDevHandle(vxHandle, devices, slot, &devHandle)) {
    ConsolePrint("\nSSD reset failed. \n");
    return 1;
  }
  uint32_t result = SendTargetReset(vxHandle, devHandle);
  ConsolePrint(result == 0 ? "\nSSD reset successful. \n" : "\nSSD reset failed. \n");
  return static_cast<int>(result);
}

}  // namespace

int ResetTargetCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<ResetTargetOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  options->slot = 0;
  bool unconfigured = false;
  if (CheckCardState(&unconfigured) != 0) return kParseTerminated;

  if (count == 0 || words == nullptr) return unconfigured ? AskSlot(options) : kParseGoOn;
  if (unconfigured) return ParseSlotCommandLine(count, words, options);
  if (CheckParamCount(count, kVolumeWords) != 0) {
    ConsolePrint("Usage :\n    %s <-c controller #> -resettarget", kProgramName);
    return kParseUsageError;
  }
  return kParseGoOn;
}

int ResetTargetCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* options = record.As<ResetTargetOptions>();
  if (options == nullptr) return 1;
  uint32_t slot = options->slot;

  uint32_t vxHandle = 0;
  bool unconfigured = false;
  if (LibZKGetVXHandle(SelectedController - 1, &vxHandle) != 0) return 1;
  if (CheckCardState(&unconfigured) != 0) return 1;
  return unconfigured ? ResetModule(vxHandle, slot) : ResetVolume(vxHandle);
}
