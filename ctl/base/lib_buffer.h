// A zero-filled library buffer that frees itself when the call that made it
// returns, so every early exit releases what was allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/context.h"

class LibBuffer {
 public:
  LibBuffer(LibContext* context, size_t size)
      : context_(context), size_(size),
        data_(static_cast<uint8_t*>(QmxAlloc(context, 1, size))) {}
  ~LibBuffer() { QmxFree(context_, data_); }
  LibBuffer(const LibBuffer&) = delete;
  LibBuffer& operator=(const LibBuffer&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  uint8_t* get() const { return data_; }
  size_t size() const { return size_; }

 private:
  LibContext* context_;
  size_t size_;
  uint8_t* data_;
};
