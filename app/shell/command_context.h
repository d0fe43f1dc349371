// The contract between the dispatcher and a command: a parse operation that
// checks the command's words (or asks for its parameters at the keyboard)
// and stores the command's argument record, and an execute operation that
// does the work.
#pragma once

#include <utility>

#include "app/shell/app_buffer.h"

// What the dispatcher hands to a command. What the execute operation does
// not take is freed with the context.
struct CommandContext {
  // The command's own argument record, empty until the parse operation
  // stores one (it stores it before it can fail). Once the execute operation
  // is called, the record is the execute operation's.
  AppBuffer params;
  // The whole file the parse operation read for the execute operation (an
  // image or a package); empty when the command reads none, or the file
  // was empty.
  AppBuffer file;
};

// Parse results.
enum : int {
  kParseGoOn = 0,
  kParseTerminated = 1,  // the user quit or declined, input ended, or memory ran out
  kParseUsageError = 2,  // the parse operation has printed its usage text or message
};

// A zero-filled record of type T stored as the context's argument record;
// null, with nothing stored, when memory ran out (the caller says so).
template <typename T>
T* NewParams(CommandContext* context) {
  AppBuffer record(sizeof(T));
  T* typed = record.As<T>();
  context->params = std::move(record);
  return typed;
}

// The execute operation takes the record out of the context: from here on
// it is the execute operation's, freed when the operation returns.
inline AppBuffer TakeParams(CommandContext* context) { return std::move(context->params); }
// The same for the file the parse operation read.
inline AppBuffer TakeFile(CommandContext* context) { return std::move(context->file); }

// (word count, words, context) -> a parse result. On the command line the
// words start at the command's option and the count includes it; in the
// interactive mode the count is 0 and the words are null.
using ParseOperation = int (*)(int count, char** words, CommandContext* context);

// (context) -> 0 for success, anything else for failure.
using ExecuteOperation = int (*)(CommandContext* context);
