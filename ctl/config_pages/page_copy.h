// A whole configuration page read into a library buffer: the size query,
// a zero-filled buffer of that size, then the read. The buffer is freed with
// the object; a copy can be moved, never duplicated.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"

// The step of a read that failed.
enum class PageCopyStep : uint8_t {
  kNone,       // the page is held
  kSizeQuery,  // the size query failed
  kBuffer,     // the page's buffer could not be allocated
  kRead,       // the read failed
};

class PageCopy {
 public:
  // A copy bound to no context holds nothing until ReadConfigPageCopy (the
  // facade) or Read with a context fills it.
  PageCopy() = default;
  explicit PageCopy(LibContext* context) : context_(context) {}
  ~PageCopy() { QmxFree(context_, data_); }
  PageCopy(const PageCopy&) = delete;
  PageCopy& operator=(const PageCopy&) = delete;
  PageCopy(PageCopy&& other) noexcept { Take(other); }
  PageCopy& operator=(PageCopy&& other) noexcept {
    if (this != &other) {
      QmxFree(context_, data_);
      Take(other);
    }
    return *this;
  }

  // The size query's failure, 16 when the buffer cannot be allocated, or
  // the read's status (17, with no request sent, when the size query
  // announced no bytes).
  LibStatus Read(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType, uint8_t pageNumber,
                 uint8_t extType, uint32_t readKind);
  // The same with the context given (the copy is bound to it from now on).
  LibStatus Read(LibContext* context, const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                 uint8_t pageNumber, uint8_t extType, uint32_t readKind);

  uint8_t* data() const { return data_; }
  // The bytes the buffer holds (the page size, or less when the controller
  // announced a larger page on the read than on the size query); 0 after a
  // failed read.
  uint32_t size() const { return held_; }
  // The size the last size query announced (0 when it failed).
  uint32_t announced() const { return announced_; }
  PageCopyStep failedStep() const { return failed_; }
  // Whether the field [offset, offset + width) lies in the page.
  bool Holds(uint32_t offset, uint32_t width) const { return offset <= held_ && width <= held_ - offset; }

 private:
  void Take(PageCopy& other) {
    context_ = other.context_;
    data_ = other.data_;
    held_ = other.held_;
    announced_ = other.announced_;
    failed_ = other.failed_;
    other.data_ = nullptr;
    other.held_ = 0;
    other.announced_ = 0;
  }

  LibContext* context_ = nullptr;
  uint8_t* data_ = nullptr;
  uint32_t held_ = 0;
  uint32_t announced_ = 0;
  PageCopyStep failed_ = PageCopyStep::kNone;
};
