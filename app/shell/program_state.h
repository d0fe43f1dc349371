// The state that the dispatcher and the commands share.
#pragma once

#include <cstdint>

// The 1-based number of the selected controller; commands pass
// SelectedController - 1 as the adapter index to the card library.
extern uint32_t SelectedController;

// The number of adapters found at start-up (written by discovery).
extern uint32_t ControllerCount;

// Set by a parse operation that chose JSON output: the command-line
// dispatcher then prints no final status line. Cleared after execution.
extern uint32_t SuppressStatus;

// 1 while a flash package is being written: the controller flash skips its
// own image checks (the package was checked whole) and the NVDATA
// no-downgrade rule runs whatever the caller's skip option says.
extern uint32_t PackageModeFlag;
