#include "ctl/config_pages/page_copy.h"

#include <algorithm>

#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"

LibStatus PageCopy::Read(LibContext* context, const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                         uint8_t pageNumber, uint8_t extType, uint32_t readKind) {
  QmxFree(context_, data_);
  data_ = nullptr;
  context_ = context;
  return Read(adapter, pageAddress, pageType, pageNumber, extType, readKind);
}

LibStatus PageCopy::Read(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType, uint8_t pageNumber,
                         uint8_t extType, uint32_t readKind) {
  QmxFree(context_, data_);
  data_ = nullptr;
  held_ = 0;
  announced_ = 0;
  failed_ = PageCopyStep::kSizeQuery;
  uint32_t pageSize = 0;
  LibStatus status = ConfigPageReadCore(context_, adapter, pageAddress, pageType, pageNumber, extType,
                                        kReadSizeOnly, nullptr, &pageSize);
  if (status != kLibOk) return status;
  announced_ = pageSize;
  // An empty page holds nothing to read: answer as the read would, without
  // asking the controller for its header again.
  failed_ = PageCopyStep::kRead;
  if (pageSize == 0) return kLibBufferTooSmall;
  failed_ = PageCopyStep::kBuffer;
  data_ = static_cast<uint8_t*>(QmxAlloc(context_, 1, pageSize));
  if (data_ == nullptr) return kLibNoMemory;
  failed_ = PageCopyStep::kRead;
  uint32_t size = pageSize;
  status = ConfigPageReadCore(context_, adapter, pageAddress, pageType, pageNumber, extType, readKind, data_,
                              &size);
  if (status != kLibOk) return status;
  held_ = std::min(size, pageSize);
  failed_ = PageCopyStep::kNone;
  return kLibOk;
}
