// A whole configuration page read into a library buffer: the size query,
// a zero-filled buffer of that size, then the read. The buffer is freed with
// the object.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"

class PageCopy {
 public:
  explicit PageCopy(LibContext* context) : context_(context) {}
  ~PageCopy() { QmxFree(context_, data_); }
  PageCopy(const PageCopy&) = delete;
  PageCopy& operator=(const PageCopy&) = delete;

  // The size query's failure, 16 when the buffer cannot be allocated, or
  // the read's status.
  LibStatus Read(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType, uint8_t pageNumber,
                 uint8_t extType, uint32_t readKind);

  uint8_t* data() const { return data_; }
  // The bytes the buffer holds (the page size, or less when the controller
  // announced a larger page on the read than on the size query).
  uint32_t size() const { return held_; }
  // Whether the field [offset, offset + width) lies in the page.
  bool Holds(uint32_t offset, uint32_t width) const { return offset <= held_ && width <= held_ - offset; }

 private:
  LibContext* context_;
  uint8_t* data_ = nullptr;
  uint32_t held_ = 0;
};
