#include "ctl/base/context.h"

#include <cstdlib>

#include "ctl/objects/object_tree.h"

LibContext* g_libContext = nullptr;

LibStatus CreateLibContext(LibContext** slot) {
  if (slot == nullptr) return kLibBadParameter;
  if (*slot != nullptr) {
    // The records under the old context can no longer be reached once it is
    // gone: release them with it.
    FreeObjectTree(*slot);
    QmxFree(*slot, *slot);
    *slot = nullptr;
  }
  auto* context = static_cast<LibContext*>(QmxAlloc(nullptr, 1, sizeof(LibContext)));
  if (context == nullptr) return kLibNoMemory;
  context->handleCounter = 1;
  *slot = context;
  return kLibOk;
}

LibStatus DestroyLibContext(LibContext*) { return kLibOk; }

void* QmxAlloc(LibContext*, uint32_t zeroFill, size_t size) {
  if (size == 0) size = 1;
  return zeroFill ? std::calloc(1, size) : std::malloc(size);
}

void QmxFree(LibContext*, void* block) {
  if (block != nullptr) std::free(block);
}
