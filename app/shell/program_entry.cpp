#include "app/shell/program_entry.h"

#include "app/shell/banner_usage.h"
#include "app/shell/command_line.h"
#include "app/shell/console.h"
#include "app/shell/interactive_mode.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "os/port.h"

namespace {

void PrintNoControllers() {
  PrintBanner();
  ConsolePrint("\n%s: No controllers found.\n", kUtilityTitle);
}

int RunProgram(int argc, char** argv) {
  // Help answers before anything is opened, even where no card is present.
  if (argc >= 2 && StrEqualNoCase(argv[1], "-help")) {
    PrintBanner();
    PrintUsage();
    return 0;
  }
  if (LibZKOpen() != 1) {
    PrintNoControllers();
    return 1;
  }
  if (LibZKDiscoverAdapters(&ControllerCount) != 0) {
    PrintNoControllers();
    LibZKClose();
    return 1;
  }
  if (ControllerCount == 0) {
    PrintNoControllers();
    LibZKClose();
    return 0;
  }
  int status = argc > 1 ? ProcessCommandLine(argc, argv) : RunInteractive();
  LibZKClose();
  return status;
}

}  // namespace

int TessvarcMain(int argc, char** argv) {
  int status = RunProgram(argc, argv);
  // A run whose output did not all reach standard output has failed,
  // whatever the command answered.
  return os::ActivePort().OutputFailed() ? 1 : status;
}
