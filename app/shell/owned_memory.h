// Ownership of what AllocMem hands out: a record or buffer that goes back
// through FreeMem on every path of the function that holds it.
#pragma once

#include <memory>

#include "app/shell/command_context.h"
#include "app/shell/memory_strings.h"

struct FreeMemDeleter {
  void operator()(void* pointer) const { FreeMem(pointer); }
};

template <typename T>
using OwnedMem = std::unique_ptr<T, FreeMemDeleter>;

// The execute operation takes the parse operation's record out of the
// context: from here on it is the execute operation's to free.
template <typename T>
OwnedMem<T> TakeParams(CommandContext* context) {
  OwnedMem<T> record(static_cast<T*>(context->params));
  context->params = nullptr;
  return record;
}
