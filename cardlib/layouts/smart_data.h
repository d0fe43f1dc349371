// The 512-byte SMART data of SMART READ DATA.
#pragma once

#include <cstddef>
#include <cstdint>

namespace smart_data {
inline constexpr size_t kAttributes = 2;     // 30 entries of 12 bytes
inline constexpr size_t kEntrySize = 12;
// Within an entry.
inline constexpr size_t kId = 0;
inline constexpr size_t kNormalized = 3;
inline constexpr size_t kRawLow = 5;         // u32, raw bytes 0-3
inline constexpr size_t kRawHigh = 9;        // three bytes: raw 4-5 and the reserved byte
inline constexpr uint32_t kSize = 512;
}  // namespace smart_data
