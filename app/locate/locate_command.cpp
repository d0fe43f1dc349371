// -locate: lights the locate indication of the selected card so that it can
// be found in the machine. The command only switches it on.
#include <cstdint>

#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

// The command's argument record: the locate value.
struct LocateOptions {
  uint32_t on;  // 1: switch the indication on
};

constexpr uint32_t kLocateOn = 1;
constexpr uint8_t kLocateWords = 2;  // -locate on
constexpr size_t kWordSize = 64;      // the word is compared by its first 63 characters

int AskLocateValue(LocateOptions* options) {
  ConsolePrint("Enter Operation [1:on]: ");
  uint32_t flag = kEntryValid;
  uint32_t value = ReadMenuNumber(kLocateOn, kLocateOn, &flag);
  if (flag == kEntryEnded) return kParseTerminated;
  if (flag != kEntryValid) return kParseUsageError;
  options->on = value;
  return kParseGoOn;
}

}  // namespace

int LocateCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<LocateOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0 || words == nullptr) return AskLocateValue(options);

  if (CheckParamCount(count, kLocateWords) != 0) {
    ConsolePrint("Usage :\n    %s <-c controller #> -locate <on> \n", kProgramName);
    return kParseUsageError;
  }
  char word[kWordSize] = {};
  StrCopyN(word, words[1], sizeof word - 1);
  if (!StrEqualNoCase(word, "on")) {
    ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
    return kParseUsageError;
  }
  options->on = kLocateOn;
  return kParseGoOn;
}

int LocateCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* options = record.As<LocateOptions>();
  if (options == nullptr) return 1;
  uint32_t status = LibZKLocateCard(SelectedController - 1, options->on);
  return status == 0 ? 0 : 1;
}
