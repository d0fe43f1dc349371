// The fields the application alone reads from configuration pages: IO unit
// page 8 and the extended manufacturing pages 221 to 223. Offsets count
// from the page's start, header included; every field is little-endian.
// The page header, the page types, the CONFIG actions and the read kinds
// are the library's (ctl/frames/config_frame.h), the manufacturing pages
// are laid out in ctl/pages/manufacturing_pages.h. A page shorter than a
// field it is read for counts as a page that could not be read
// (PageHolds, PageCopy::Holds).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/frames/config_frame.h"
#include "ctl/pages/manufacturing_pages.h"

// True when a page of `size` bytes holds `bytes` bytes from `offset`.
inline bool PageHolds(uint32_t size, size_t offset, size_t bytes) {
  return offset <= size && bytes <= size - offset;
}

// IO unit page 8: the temperature thresholds, at two places that the board
// types read.
namespace io_unit_page8 {
inline constexpr uint8_t kNumber = 8;
inline constexpr size_t kTempWarningLow = 44;   // u16, board types 1, 2, 6, 9
inline constexpr size_t kTempErrorLow = 46;     // u16
inline constexpr size_t kTempWarningHigh = 92;  // u16, board types 3, 7, 8, 10, 11, 12
inline constexpr size_t kTempErrorHigh = 94;    // u16
}  // namespace io_unit_page8

// Extended manufacturing page 221: the modules' trim counts.
namespace ext_page221 {
inline constexpr uint8_t kNumber = 221;
inline constexpr size_t kTrimCounts = 16;  // u64 per slot
inline constexpr size_t kTrimCountSize = 8;
}  // namespace ext_page221

inline constexpr uint8_t kExtPage222Number = 222;
// Extended manufacturing page 222: the board's power sensors, u32 each, in
// milliwatts.
namespace ext_page222 {
inline constexpr size_t kPower12v = 8;
inline constexpr size_t kPower3v3 = 12;
inline constexpr size_t kTotalPower = 16;
}  // namespace ext_page222
inline constexpr uint8_t kExtPage223Number = 223;
