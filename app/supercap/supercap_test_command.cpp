// -testscap: starts the card's SuperCap health test and waits for it to be
// taken up. The command takes no words beyond its own.
#include "app/supercap/supercap_test_command.h"

#include <cstdint>

#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/board/board_power.h"
#include "cardlib/modules/module_handles.h"

namespace {
constexpr uint8_t kTestSuperCapWords = 1;  // -testscap
}  // namespace

int TestSuperCapCommandParse(int count, char**, CommandContext*) {
  if (CheckParamCount(count, kTestSuperCapWords) != 0) {
    ConsolePrint("Usage :\n    %s <-c controller #> -testscap \n", kProgramName);
    return kParseUsageError;
  }
  return kParseGoOn;
}

int TestSuperCapCommandExec(CommandContext*) {
  uint32_t vx = 0;
  if (LibZKGetVXHandle(SelectedController - 1, &vx) != 0) return 1;
  ConsolePrint("%s: Running SuperCap health test, please wait...\n", kUtilityTitle);
  return StartSuperCapTest(vx) == 0 ? 0 : 1;
}
