// -getsmartlog: the command's words or the interactive dialogue, then the
// collection of the logs of the selected controller.
#include "app/logs/smart_log_collect.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"

namespace {

constexpr int kFewestWords = 3;   // -getsmartlog -path <path>
constexpr int kMostWords = 5;     // -getsmartlog -slot <slot> -path <path>
constexpr uint32_t kLastSlot = 7;

void PrintUsage() {
  ConsolePrint("Usage :\n    %s <-c controller # > -getsmartlog[-slot <ssd_slot>] -path <path name>\n", kProgramName);
}

int InvalidFormat(int result) {
  ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
  PrintUsage();
  return result;
}

// The path word; a path that the record cannot hold whole is refused.
int TakePath(const char* word, GetSmartLogOptions* options) {
  if (StrLength(word) >= sizeof options->path) return kParseUsageError;
  StrCopy(options->path, word);
  return kParseGoOn;
}

int FlagResult(uint32_t flag) { return flag == kEntryEnded ? kParseTerminated : kParseUsageError; }

int AskOptions(GetSmartLogOptions* options) {
  uint32_t flag = kEntryValid;
  ConsolePrint("\nGet Log for single or all SSDs[ Enter 1:All or 0:Single]: ");
  uint32_t all = ReadMenuNumber(0, 1, &flag);
  if (flag != kEntryValid) return FlagResult(flag);
  options->allSlots = static_cast<uint8_t>(all);
  if (all == 0) {
    ConsolePrint("Enter SSD Slot number: ");
    uint32_t slot = ReadMenuNumber(0, kLastSlot, &flag);
    if (flag != kEntryValid) return FlagResult(flag);
    options->slot = static_cast<uint8_t>(slot);
  }
  ConsolePrint("Enter Log File Path: ");
  flag = ReadInputLine(options->path, sizeof options->path);
  if (flag != kEntryValid) return FlagResult(flag);
  return kParseGoOn;
}

}  // namespace

int GetSmartLogCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<GetSmartLogOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0 || words == nullptr) return AskOptions(options);

  if (count < kFewestWords || count > kMostWords) {
    ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
    PrintUsage();
    return kParseUsageError;
  }
  if (StrEqualNoCase(words[1], "-slot")) {
    if (count < kMostWords) return InvalidFormat(kParseTerminated);
    options->allSlots = 0;
    uint32_t slot = ParseDecimal(words[2]);
    if (slot > kLastSlot) return kParseUsageError;
    options->slot = static_cast<uint8_t>(slot);
    // Without "-path" the files go to the current directory.
    if (StrEqualNoCase(words[3], "-path")) return TakePath(words[4], options);
    return kParseGoOn;
  }
  if (StrEqualNoCase(words[1], "-path")) {
    if (count != kFewestWords) return InvalidFormat(kParseTerminated);
    options->allSlots = 1;
    return TakePath(words[2], options);
  }
  return InvalidFormat(kParseUsageError);
}

int GetSmartLogCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* options = record.As<GetSmartLogOptions>();
  if (options == nullptr) return 1;
  uint32_t result = CollectSlotLogs(SelectedController - 1, *options);
  return result == 0 ? 0 : 1;
}
