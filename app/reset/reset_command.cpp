// -reset: hard-resets the selected controller and rebuilds the library's
// view of it.
#include <cstdint>

#include "app/card/adapter_reset.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

constexpr uint8_t kResetWords = 1;  // -reset

}  // namespace

int ResetCommandParse(int count, char**, CommandContext*) {
  if (CheckParamCount(count, kResetWords) != 0) {
    ConsolePrint("Usage :\n    %s <-c controller #> -reset\n", kProgramName);
    return kParseTerminated;
  }
  return kParseGoOn;
}

int ResetCommandExec(CommandContext*) {
  uint32_t vxHandle = 0;
  if (LibZKGetVXHandle(SelectedController - 1, &vxHandle) != 0) return 1;
  ConsolePrint("\n\t\tResetting Adapter...\n\n");
  AdapterResetResult result = ResetAndRebuildAdapter(vxHandle);
  if (result.rebuild != kLibOk) ConsolePrint("\t\tERROR: Discovery failed. Status %02X\n", result.rebuild);
  if (result.reset != kLibOk) {
    ConsolePrint("\t\tAdapter Reset Failed!\n\n");
  } else {
    ConsolePrint("\t\tAdapter Successfully Reset.\n\n");
  }
  return static_cast<int>(result.reset);
}
