#include "app/program_entry.h"

#include "app/banner_usage.h"
#include "app/command_line.h"
#include "app/console.h"
#include "app/interactive_mode.h"
#include "app/memory_strings.h"
#include "app/program_state.h"
#include "app/utility_names.h"
#include "cardlib/libzk.h"

namespace {

void PrintNoControllers() {
  PrintBanner();
  ConsolePrint("\n%s: No controllers found.\n", kUtilityTitle);
}

}  // namespace

int TessvarcMain(int argc, char** argv) {
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
