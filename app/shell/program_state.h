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
