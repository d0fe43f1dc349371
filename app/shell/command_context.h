// The contract between the dispatcher and a command: a parse operation that
// checks the command's words (or asks for its parameters at the keyboard)
// and stores the command's argument record, and an execute operation that
// does the work.
#pragma once

// What the dispatcher hands to a command.
struct CommandContext {
  // The command's own argument record (from AllocMem), null until the parse
  // operation stores one. The parse operation stores it before it can fail,
  // so that the dispatcher can free it; once the execute operation is
  // called, the record is the execute operation's.
  void* params = nullptr;
};

// Parse results.
enum : int {
  kParseGoOn = 0,
  kParseTerminated = 1,  // the user quit or declined, input ended, or memory ran out
  kParseUsageError = 2,  // the parse operation has printed its usage text or message
};

// (word count, words, context) -> a parse result. On the command line the
// words start at the command's option and the count includes it; in the
// interactive mode the count is 0 and the words are null.
using ParseOperation = int (*)(int count, char** words, CommandContext* context);

// (context) -> 0 for success, anything else for failure.
using ExecuteOperation = int (*)(CommandContext* context);
