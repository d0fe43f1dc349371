#include "ctl/discovery/discovery.h"
#include "ctl/facade/facade_context.h"
#include "ctl/objects/object_tree.h"
#include "ctl/facade/qmx.h"

namespace {
constexpr uint8_t kVersionMajor = 16;
constexpr uint8_t kVersionMinor = 8;
constexpr uint8_t kVersionBuild = 6;
}  // namespace

LibStatus QmxLibOpen() { return CreateLibContext(&g_libContext); }

LibStatus QmxLibClose() { return DestroyLibContext(BoundContext()); }

void QmxLibTerm() {}

LibStatus QmxGetLibVersion(QmxLibVersion* version) {
  if (version == nullptr) return kLibFailure;
  if (version->size < sizeof(QmxLibVersion)) return kLibOk;
  version->major = kVersionMajor;
  version->minor = kVersionMinor;
  version->build = kVersionBuild;
  return kLibOk;
}

LibStatus QmxDiscoverAdapters(uint32_t* count, uint32_t flags) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  context->discoveryFlags = flags;
  LibStatus status = DiscoverAdapters(context);
  if (count != nullptr) *count = context->adapterCount;
  return status;
}

LibStatus QmxRefreshAdapter(const LibHandle* adapter) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return RefreshAdapterObjects(context, adapter);
}

LibStatus QmxGetAdapterInfo(uint32_t index, const LibHandle* adapter, AdapterInfoBlock* info, uint32_t* size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return GetAdapterInfo(context, index, adapter, info, size != nullptr ? *size : 0);
}

LibStatus QmxGetLastStatus(IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibOk;
  if (status != nullptr) *status = context->lastStatus;
  return kLibOk;
}
