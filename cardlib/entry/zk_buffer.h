// A zero-filled block from ZkAllocZeroed that is released when the call
// that made it returns, so every early exit frees what was allocated.
#pragma once

#include <cstdint>

#include "cardlib/entry/os_wrappers.h"

class ZkBuffer {
 public:
  explicit ZkBuffer(uint32_t size) : data_(static_cast<uint8_t*>(ZkAllocZeroed(size))) {}
  ~ZkBuffer() { ZkRelease(data_); }
  ZkBuffer(const ZkBuffer&) = delete;
  ZkBuffer& operator=(const ZkBuffer&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  uint8_t* get() const { return data_; }

 private:
  uint8_t* data_;
};
