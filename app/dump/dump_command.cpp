// -dump <file name>: the command's words or its prompt, then the dump of the
// selected controller.
#include "app/dump/dump_adapter.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"

namespace {
constexpr uint8_t kDumpWords = 2;  // -dump <file name>
}  // namespace

int DumpCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<DumpOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0 || words == nullptr) {
    ConsolePrint("Enter Log File: ");
    uint32_t flag = ReadInputLine(options->fileName, sizeof options->fileName);
    if (flag == kEntryEnded) return kParseTerminated;
    return flag == kEntryValid ? kParseGoOn : kParseUsageError;
  }
  if (CheckParamCount(count, kDumpWords) != 0) {
    ConsolePrint("Usage :\n    %s <-c controller #> -dump <file name>\n", kProgramName);
    return kParseUsageError;
  }
  // A name the record cannot hold whole is refused, not cut to another name.
  if (StrLength(words[1]) >= sizeof options->fileName) {
    ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
    ConsolePrint("Usage :\n    %s <-c controller #> -dump <file name>\n", kProgramName);
    return kParseUsageError;
  }
  StrCopy(options->fileName, words[1]);
  return kParseGoOn;
}

int DumpCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* options = record.As<DumpOptions>();
  if (options == nullptr) return 1;
  uint32_t result = DumpAdapter(SelectedController - 1, options->fileName);
  return result == 0 ? 0 : 1;
}
