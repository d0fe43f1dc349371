// The SuperCap health test: a command of its own (parse and execute) that no
// row of the command table and no menu reaches.
#pragma once

#include "app/shell/command_context.h"

int TestSuperCapCommandParse(int count, char** words, CommandContext* context);
int TestSuperCapCommandExec(CommandContext* context);
