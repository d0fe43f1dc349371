// The interactive mode: pick a controller from the table, then operations
// from the numbered menu, until 0 is entered at each level.
#pragma once

#include <cstdint>

#include "app/shell/command_table.h"

// The banner, then the controller loop with the controller table. Answers
// 0 when the user leaves with 0 (or input ends), 1 when the table fails.
int RunInteractive();

// The controller loop: run the listing, ask for a controller, visit its
// operation menu, and again. The program hands in ListAll; tests their own.
int RunControllerLoop(int (*listControllers)());

// The operation menu of SelectedController, until 0 (or the end of input).
void RunOperationMenu();

// Prints the operation menu and its prompt; answers the highest menu number.
uint32_t ShowOperationMenu();

// Runs one row from the menu: the parse operation asks for its parameters,
// then the execute operation runs; a failure is reported, never fatal.
void RunMenuCommand(const CommandEntry& entry);
