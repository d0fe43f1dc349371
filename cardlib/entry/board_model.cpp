#include "cardlib/libzk.h"
#include "cardlib/entry/os_wrappers.h"

namespace {
constexpr uint32_t kBoardModelNameSize = 20;
constexpr uint32_t kCardControllerId = 126;
}  // namespace

char* GetBoardModelName(uint32_t controllerId) {
  auto* name = static_cast<char*>(ZkAllocZeroed(kBoardModelNameSize));
  if (name == nullptr) return nullptr;
  ZkFormat(name, kBoardModelNameSize, "%s", controllerId == kCardControllerId ? "TRIXEL4400" : "UNKNOWN");
  return name;
}
