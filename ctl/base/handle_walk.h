// The walks over handles the controller hands back: each page read with the
// "next after this one" address names the instance the walk goes on from
// (SAS devices, volumes, physical disks, hot spares, and the dump's walks
// over expanders, ports, enclosures and RAID configurations). The controller
// answers them in rising order, so a walk goes on only while each handle
// moves forward and stays within the controller's limits: a page that points
// back, repeats a handle or answers 0 ends the walk there, with what it has
// found and nothing taken twice.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/byte_order.h"
#include "ctl/frames/ioc_frames.h"

class HandleWalk {
 public:
  // A walk that asks first with `start` (the "first instance" address) and
  // takes handles from `lowest` to `highest`, at most `most` of them (0: as
  // many as the range holds).
  HandleWalk(uint32_t start, uint32_t lowest, uint32_t highest, uint32_t most = 0)
      : cursor_(start), lowest_(lowest), highest_(highest), most_(most) {}

  // The address to ask the next page with.
  uint32_t cursor() const { return cursor_; }

  // Takes the handle a page named: true when it lies within the limits,
  // beyond the last one taken and below the count (the walk goes on from it);
  // false when the walk ends there, without that page.
  bool Take(uint32_t handle) {
    if (handle < lowest_ || handle > highest_) return false;
    if (taken_ != 0 && handle <= cursor_) return false;
    if (most_ != 0 && taken_ == most_) return false;
    cursor_ = handle;
    ++taken_;
    return true;
  }

 private:
  uint32_t cursor_;
  uint32_t lowest_;
  uint32_t highest_;
  uint32_t most_;
  uint32_t taken_ = 0;
};

// DevHandle 0 names no device and 0xFFFF starts a walk; enclosure handles
// share that range. Disk, port and configuration numbers are one byte, 0xFF
// starting a walk.
inline constexpr uint32_t kLowestDevHandle = 1;
inline constexpr uint32_t kHighestDevHandle = 0xFFFE;
inline constexpr uint32_t kLowestNumber = 0;
inline constexpr uint32_t kHighestNumber = 0xFE;

// The highest DevHandle the controller hands out, from its IOC FACTS reply
// (`size` bytes kept): MaxDevHandle, or the whole range when the reply is
// too short to hold it or says 0.
inline uint32_t IocFactsMaxDevHandle(const uint8_t* reply, size_t size) {
  size_t length = size > ioc_facts_reply::kMessageLength ? 4u * Get8(reply, ioc_facts_reply::kMessageLength) : 0;
  if (length > size) length = size;
  if (ioc_facts_reply::kMaxDevHandle + 2 > length) return kHighestDevHandle;
  uint32_t max = GetLe16(reply, ioc_facts_reply::kMaxDevHandle);
  return max == 0 || max > kHighestDevHandle ? kHighestDevHandle : max;
}

// The most volumes the controller keeps (IOC FACTS MaxVolumes); 0, no bound,
// when the reply is too short to hold it or says 0.
inline uint32_t IocFactsMaxVolumes(const uint8_t* reply, size_t size) {
  size_t length = size > ioc_facts_reply::kMessageLength ? 4u * Get8(reply, ioc_facts_reply::kMessageLength) : 0;
  if (length > size) length = size;
  if (ioc_facts_reply::kMaxVolumes + 1 > length) return 0;
  return Get8(reply, ioc_facts_reply::kMaxVolumes);
}
