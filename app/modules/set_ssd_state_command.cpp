// -setssdstate: switches one flash module off or on at the controller by
// the PHY-disable flag of its phy (the phy number is the slot) in SAS IO
// unit page 1, in the current page and, when asked to save, in the
// non-volatile page too; then waits for the controller and rediscovers the
// adapter.
#include <cstdint>
#include <vector>

#include "app/card/slot_naming.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "app/shell/whole_number.h"
#include "cardlib/libzk.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"
#include "ctl/pages/sas_io_unit_page1.h"

namespace {

namespace io1 = sas_io_unit_page1;

// The command's argument record.
struct SsdStateOptions {
  uint32_t save;  // 1: also the non-volatile page (persistent)
  uint8_t slot;   // 0-7, the phy number
  uint8_t state;  // 1 enable, 0 disable
};

constexpr uint32_t kHighestSlot = 7;
constexpr uint8_t kStateWords = 5;  // -setssdstate -slot <n> -state <enable|disable>
constexpr int kSaveWords = 6;       // ... -save
constexpr uint32_t kSettleSeconds = 5;

void PrintUsage() {
  ConsolePrint("Usage :\n    %s <-c controller #> -setssdstate -slot <ssd_slot> -state <enable|disable> [-save]\n",
               kProgramName);
}

int InvalidFormat() {
  ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
  return kParseTerminated;
}

// One prompt's number; false (the command is terminated) on an invalid
// entry or at the end of input.
bool AskNumber(const char* prompt, uint32_t maximum, uint32_t* value) {
  ConsolePrint("%s", prompt);
  uint32_t flag = kEntryValid;
  *value = ReadMenuNumber(0, maximum, &flag);
  return flag == kEntryValid;
}

int AskOptions(SsdStateOptions* options) {
  uint32_t slot = 0, state = 0, save = 0;
  if (!AskNumber("\nEnter SSD Slot Number: ", kHighestSlot, &slot) ||
      !AskNumber("\nEnter SSD State [Disable:0/Enable:1]: ", 1, &state) ||
      !AskNumber("\nSave the settings [Current:0/Persistent:1]: ", 1, &save)) {
    return kParseTerminated;
  }
  options->slot = static_cast<uint8_t>(slot);
  options->state = static_cast<uint8_t>(state);
  options->save = save;
  return kParseGoOn;
}

int ParseWords(int count, char** words, SsdStateOptions* options) {
  if (count == kSaveWords) {
    if (!StrEqualNoCase(words[kSaveWords - 1], "-save")) return InvalidFormat();
    options->save = 1;
  } else {
    if (CheckParamCount(count, kStateWords) != 0) {
      PrintUsage();
      return kParseTerminated;
    }
    options->save = 0;
  }
  // The slot is checked whole before it is narrowed: 259 is not slot 3.
  uint32_t slot = 0;
  if (!StrEqualNoCase(words[1], "-slot") || !ParseWholeNumber(words[2], &slot) || slot > kHighestSlot ||
      !StrEqualNoCase(words[3], "-state")) {
    return InvalidFormat();
  }
  if (StrEqualNoCase(words[4], "enable")) {
    options->state = 1;
  } else if (StrEqualNoCase(words[4], "disable")) {
    options->state = 0;
  } else {
    return InvalidFormat();
  }
  options->slot = static_cast<uint8_t>(slot);
  return kParseGoOn;
}

LibStatus ReadPage1(LibHandle* adapter, uint32_t readKind, std::vector<uint8_t>* page) {
  uint32_t size = static_cast<uint32_t>(page->size());
  return ReadSasIoUnitPage1(adapter, page->data(), &size, readKind);
}

LibStatus WritePage1(LibHandle* adapter, uint32_t writeKind, const std::vector<uint8_t>& page) {
  uint32_t size = static_cast<uint32_t>(page.size());
  return WriteConfigPage(adapter, 0, kPageTypeExtended, io1::kNumber, kExtPageSasIoUnit, writeKind, page.data(),
                         &size);
}

void SetPhyDisabled(std::vector<uint8_t>* page, uint32_t slot, bool disabled) {
  uint8_t& flags = (*page)[io1::PhyFlags(slot)];
  flags = static_cast<uint8_t>(disabled ? (flags | io1::kPhyFlagDisabled) : (flags & ~io1::kPhyFlagDisabled));
}

// What a failure leaves on the card when a page was changed and not put back.
void ReportChangeLeft(uint32_t slot, bool disabled, bool current, bool nvram) {
  const char* pages = current && nvram ? "current and non-volatile SAS IO Unit Page 1"
                      : current        ? "current SAS IO Unit Page 1 only"
                                       : "non-volatile SAS IO Unit Page 1 only";
  ConsolePrint("SSD slot %d is left %s in the %s.\n", static_cast<int>(slot), disabled ? "disabled" : "enabled",
               pages);
}

// Steps 4 to 8: the pages read, changed, written; the wait and the
// rediscovery. The result is 0 or the failing call's status.
LibStatus ChangePhyState(uint32_t vxHandle, const SsdStateOptions& options) {
  LibHandle adapter = vxHandle;
  uint32_t size = 0;
  LibStatus status = ReadSasIoUnitPage1(&adapter, nullptr, &size, kReadSizeOnly);
  // A page too short to hold the slot's entry cannot be changed: nothing is
  // written beyond what the controller sent.
  if (status == kLibOk && size <= io1::PhyFlags(options.slot)) status = kLibFailure;
  if (status != kLibOk) {
    ConsolePrint("ERROR: Failed to read SAS IO Unit Page 1. Status %02X\n", status);
    return status;
  }
  std::vector<uint8_t> current(size, 0), nvram(size, 0);
  status = ReadPage1(&adapter, kReadCurrent, &current);
  if (status == kLibOk) status = ReadPage1(&adapter, kReadNvram, &nvram);
  if (status != kLibOk) {
    ConsolePrint("ERROR: Failed to read SAS IO Unit Page 1. Status %02X\n", status);
    return status;
  }

  bool disable = options.state == 0;
  std::vector<uint8_t> oldCurrent = current;
  SetPhyDisabled(&current, options.slot, disable);
  if (options.save == 1) SetPhyDisabled(&nvram, options.slot, disable);
  status = WritePage1(&adapter, kWriteCurrent, current);
  if (status == kLibOk && options.save == 1) {
    status = WritePage1(&adapter, kWriteNvram, nvram);
    if (status != kLibOk) {
      ConsolePrint("ERROR: Failed to write SAS IO Unit Page 1. Status %02X\n", status);
      // The current page was changed: put it back, so that the card is as
      // it was, or say what is left.
      if (WritePage1(&adapter, kWriteCurrent, oldCurrent) != kLibOk) {
        ReportChangeLeft(options.slot, disable, true, false);
      }
      return status;
    }
  }
  if (status != kLibOk) {
    ConsolePrint("ERROR: Failed to write SAS IO Unit Page 1. Status %02X\n", status);
    return status;
  }

  SleepSeconds(kSettleSeconds);
  status = QmxRefreshAdapter(&adapter);
  if (status != kLibOk) {
    ConsolePrint("ERROR: Discovery failed. Status %02X\n", status);
    ReportChangeLeft(options.slot, disable, true, options.save == 1);
  }
  return status;
}

}  // namespace

int SetSsdStateCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<SsdStateOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  *options = SsdStateOptions{0, 0, 0};
  if (count == 0 || words == nullptr) return AskOptions(options);
  return ParseWords(count, words, options);
}

int SetSsdStateCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* stored = record.As<SsdStateOptions>();
  if (stored == nullptr) return 1;
  SsdStateOptions options = *stored;

  CardInfo info;
  MemSet(&info, 0, sizeof info);
  uint32_t status = GetCardInfo(SelectedController - 1, &info);
  if (status != 0) {
    ConsolePrint("ERROR: Failed to get VX Info. Status %02X\n", status);
    return 1;
  }
  if (SlotToCage(options.slot) == 0) {
    ConsolePrint("\nERROR: SSD Slot %d not applicable\n", static_cast<int>(options.slot));
    return 1;
  }
  uint32_t vxHandle = 0;
  if (LibZKGetVXHandle(SelectedController - 1, &vxHandle) != 0) return 1;
  // Enabling needs no module: a disabled module is not on the bus.
  uint32_t ssdHandle = 0;
  if (options.state == 0 && LibZKGetSSDHandle(vxHandle, options.slot, &ssdHandle) != 0) {
    ConsolePrint("\nERROR: No SSD found in SSD slot %d\n", static_cast<int>(options.slot));
    return 1;
  }
  LibStatus result = ChangePhyState(vxHandle, options);
  ConsolePrint(result == kLibOk ? "\nSSD state set successfully\n" : "\nFailed to set SSD state\n");
  return static_cast<int>(result);
}
