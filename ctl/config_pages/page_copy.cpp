#include "ctl/config_pages/page_copy.h"

#include <algorithm>

#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"

LibStatus PageCopy::Read(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType, uint8_t pageNumber,
                         uint8_t extType, uint32_t readKind) {
  QmxFree(context_, data_);
  data_ = nullptr;
  held_ = 0;
  uint32_t pageSize = 0;
  LibStatus status = ConfigPageReadCore(context_, adapter, pageAddress, pageType, pageNumber, extType,
                                        kReadSizeOnly, nullptr, &pageSize);
  if (status != kLibOk) return status;
  data_ = static_cast<uint8_t*>(QmxAlloc(context_, 1, pageSize));
  if (data_ == nullptr) return kLibNoMemory;
  uint32_t size = pageSize;
  status = ConfigPageReadCore(context_, adapter, pageAddress, pageType, pageNumber, extType, readKind, data_,
                              &size);
  if (status != kLibOk) return status;
  held_ = std::min(size, pageSize);
  return kLibOk;
}
