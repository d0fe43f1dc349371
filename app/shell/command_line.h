// The command-line dispatcher: runs exactly one command.
#pragma once

#include "app/shell/command_table.h"

// (argument count with the program name, argument vector) -> exit status.
int ProcessCommandLine(int count, char** vector);

// Runs one command-table row with its words (the first word being the
// option as typed): the banner unless the command is quiet, the parse
// operation, then the execute operation and the final status line. Answers
// the exit status.
int DispatchCommand(const CommandEntry& entry, int count, char** words);
