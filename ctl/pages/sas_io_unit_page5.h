// SAS IO unit page 5: one 12-byte power-management entry per phy.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sas_io_unit_page5 {
inline constexpr size_t kPhyEntries = 16;
inline constexpr size_t kEntrySize = 12;
// Within an entry.
inline constexpr size_t kControlFlags = 0;          // u8
inline constexpr size_t kInactivityExponent = 2;    // u16
inline constexpr size_t kSataPartialTimeout = 4;    // u8
inline constexpr size_t kSataSlumberTimeout = 6;    // u8
inline constexpr size_t kSasPartialTimeout = 8;     // u8
inline constexpr size_t kSasSlumberTimeout = 10;    // u8
static_assert(kSasSlumberTimeout < kEntrySize);

inline constexpr uint8_t kEnableSataPartial = 0x1;
inline constexpr uint8_t kEnableSataSlumber = 0x2;
inline constexpr uint8_t kEnableSasPartial = 0x4;
inline constexpr uint8_t kEnableSasSlumber = 0x8;
inline constexpr uint32_t kLargestExponent = 7;
}  // namespace sas_io_unit_page5
