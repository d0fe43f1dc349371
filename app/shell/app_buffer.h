// A zero-filled buffer from AllocMem that frees itself, so that every early
// exit of a command releases what it allocated. It can be handed on. A
// command's argument record lives in one too, seen through As.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "app/shell/memory_strings.h"

class AppBuffer {
 public:
  AppBuffer() = default;
  explicit AppBuffer(size_t size) : data_(static_cast<uint8_t*>(AllocMem(size))), size_(data_ ? size : 0) {}
  ~AppBuffer() { FreeMem(data_); }
  AppBuffer(AppBuffer&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  AppBuffer& operator=(AppBuffer&& other) noexcept {
    if (this != &other) {
      FreeMem(data_);
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
    }
    return *this;
  }
  AppBuffer(const AppBuffer&) = delete;
  AppBuffer& operator=(const AppBuffer&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  uint8_t* get() const { return data_; }
  size_t size() const { return size_; }
  // The bytes seen as a record of type T (null when there are none). The
  // record is zero-filled and never constructed, so it must be a plain
  // record of numbers, texts and arrays.
  template <typename T>
  T* As() const {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "a record in a buffer is never constructed nor destroyed");
    return reinterpret_cast<T*>(data_);
  }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};
