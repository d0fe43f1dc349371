#include "app/shell/command_line.h"

#include "app/shell/banner_usage.h"
#include "app/shell/console.h"
#include "app/list/controller_table.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

constexpr uint32_t kLowestController = 1;
constexpr uint32_t kHighestController = 256;

void PrintInvalidFormat() {
  ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
}

bool IsQuietCommand(const char* option) {
  for (size_t i = 0; !StrEqual(QuietCommands[i], "NULL"); ++i) {
    if (StrEqualNoCase(option, QuietCommands[i])) return true;
  }
  return false;
}

// Rows 1 to 20: -listall (row 0) is no command after -c, and the end row
// closes the table.
const CommandEntry* FindCommand(const char* option) {
  for (size_t row = 1; row < kCommandTableRows && CommandTable[row].id != kEndRowId; ++row) {
    if (StrEqualNoCase(option, CommandTable[row].option)) return &CommandTable[row];
  }
  return nullptr;
}

// The command line holding nothing but -listall or -healthall.
int RunBareCommand(const char* argument) {
  PrintBanner();
  int result;
  if (StrEqualNoCase(argument, "-listall")) {
    result = ListAll();
  } else if (StrEqualNoCase(argument, "-healthall")) {
    result = HealthAll();
  } else {
    PrintInvalidFormat();
    return 1;
  }
  if (result == 0) ConsolePrint("\n%s: Execution completed successfully.\n", kUtilityTitle);
  return 0;
}

}  // namespace

int DispatchCommand(const CommandEntry& entry, int count, char** words) {
  if (!IsQuietCommand(words[0])) PrintBanner();
  CommandContext context;
  int parsed = entry.parse(count, words, &context);
  if (parsed == kParseGoOn) {
    // From here on the record belongs to the execute operation.
    int result = entry.execute(&context);
    int status;
    if (result != 0) {
      if (SuppressStatus == 0) {
        ConsolePrint("\n%s: Error executing command %s.\n", kUtilityTitle, entry.option);
        status = 1;
      } else {
        status = result;
      }
    } else {
      if (SuppressStatus == 0) ConsolePrint("\n%s: Execution completed successfully.\n", kUtilityTitle);
      status = 0;
    }
    SuppressStatus = 0;
    return status;
  }
  if (parsed == kParseUsageError) {
    ConsolePrint("\n%s: Error executing command %s.\n", kUtilityTitle, entry.option);
  } else if (parsed == kParseTerminated) {
    ConsolePrint("\n%s: Command terminated %s.\n", kUtilityTitle, entry.option);
  }
  SuppressStatus = 0;
  return parsed;
}

int ProcessCommandLine(int count, char** vector) {
  if (count == 2) return RunBareCommand(vector[1]);
  if (count == 3) {
    PrintBanner();
    ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
    PrintUsage();
    return 1;
  }
  if (count < 2) {
    PrintBanner();
    PrintInvalidFormat();
    return 1;
  }
  if (!StrEqualNoCase(vector[1], "-c")) {
    PrintBanner();
    PrintInvalidFormat();
    PrintUsage();
    return 1;
  }
  // A number that does not fit 32 bits is invalid, not wrapped into range.
  bool fits = false;
  uint32_t controller = ParseDecimal(vector[2], &fits);
  if (!fits || controller < kLowestController || controller > kHighestController) {
    PrintBanner();
    ConsolePrint("\n%s: Invalid argument: %s.\n", kUtilityTitle, vector[2]);
    return 1;
  }
  SelectedController = controller;
  CardInfo info;
  MemSet(&info, 0, sizeof info);
  if (GetCardInfo(controller - 1, &info) != 0) {
    PrintBanner();
    ConsolePrint("%s: Controller with index %u not found...!\n", kUtilityTitle, controller);
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return 1;
  }
  const CommandEntry* entry = FindCommand(vector[3]);
  if (entry == nullptr) {
    PrintBanner();
    PrintInvalidFormat();
    PrintUsage();
    return 1;
  }
  return DispatchCommand(*entry, count - 3, vector + 3);
}
