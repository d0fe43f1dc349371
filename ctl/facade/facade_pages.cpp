// The generic page read and write of the facade.
#include "ctl/config_pages/config_pages.h"
#include "ctl/facade/facade_context.h"
#include "ctl/facade/qmx_pages.h"

LibStatus ReadConfigPage(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                         uint8_t pageNumber, uint8_t extType, uint32_t readKind, void* buffer,
                         uint32_t* size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ConfigPageReadCore(context, adapter, pageAddress, pageType, pageNumber, extType, readKind, buffer, size);
}

LibStatus WriteConfigPage(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                          uint8_t pageNumber, uint8_t extType, uint32_t writeKind, const void* buffer,
                          uint32_t* size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ConfigPageWriteCore(context, adapter, pageAddress, pageType, pageNumber, extType, writeKind,
                             buffer, size);
}

LibStatus ReadConfigPageCopy(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                             uint8_t pageNumber, uint8_t extType, uint32_t readKind, PageCopy* copy) {
  LibContext* context = BoundContext();
  if (context == nullptr || copy == nullptr) return kLibFailure;
  return copy->Read(context, adapter, pageAddress, pageType, pageNumber, extType, readKind);
}
