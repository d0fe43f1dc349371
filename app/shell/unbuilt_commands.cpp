// Commands that this build does not carry yet: each parse operation accepts
// its words and stores nothing, and each execute operation says that the
// command is not available, which the dispatcher reports as a failure.
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"

namespace {

int AcceptWords() { return kParseGoOn; }

int ReportUnavailable(const char* option) {
  ConsolePrint("\n%s: The %s command is not available in this build.\n", kUtilityTitle, option);
  return 1;
}

}  // namespace

int UpdatePkgCommandParse(int, char**, CommandContext*) { return AcceptWords(); }
int UpdatePkgCommandExec(CommandContext*) { return ReportUnavailable("-updatepkg"); }

