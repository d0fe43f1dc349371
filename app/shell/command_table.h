// The table of commands: one row per option, with its menu number and text
// and its parse and execute operations.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/shell/command_context.h"

struct CommandEntry {
  uint8_t id;                // menu number; 0 not in the menu; kEndRowId for the end row
  const char* option;        // command-line option; null in the end row
  const char* menuText;      // operation-menu text; null for a row not in the menu
  ParseOperation parse;      // null for a row the dispatcher handles itself
  ExecuteOperation execute;
};

inline constexpr size_t kCommandTableRows = 22;
inline constexpr uint8_t kEndRowId = 0xFF;

// Row 0 (-listall) is handled by the dispatcher and never matched after -c.
// Rows 1 to 19 are the menu, their id equal to their row index; the menu
// stops at the first row without a menu text, so the hidden row (-dlc)
// follows them; the end row closes the table.
extern const CommandEntry CommandTable[kCommandTableRows];

// Options for which the dispatcher prints no banner (their parse operations
// print it when the output is text). The list ends at the text "NULL".
extern const char* const QuietCommands[];
