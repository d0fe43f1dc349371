// Fields of RAID physical disk pages 0 (120 bytes) and 1.
#pragma once

#include <cstddef>
#include <cstdint>

namespace raid_phys_disk_page0 {
inline constexpr size_t kDevHandle = 4;        // u16
inline constexpr size_t kDiskNumber = 7;       // u8
inline constexpr size_t kHotSparePool = 10;    // u8
inline constexpr size_t kIdentification = 16;  // 60 bytes: vendor, product, revision, serial number
inline constexpr size_t kIdentificationSize = 60;
inline constexpr size_t kDiskState = 80;       // u8
inline constexpr size_t kOfflineReason = 81;   // u8
inline constexpr size_t kIncompatibleReason = 82;  // u8
inline constexpr size_t kAttributes = 83;      // u8
inline constexpr size_t kStatusFlags = 84;     // u32
inline constexpr size_t kDeviceMaxLba = 88;    // u64
inline constexpr size_t kHostMaxLba = 96;      // u64
inline constexpr size_t kCoercedMaxLba = 104;  // u64
inline constexpr size_t kBlockSize = 112;      // u16
inline constexpr uint32_t kSize = 120;
static_assert(kBlockSize + 2 <= kSize);
// The disk number from which a "next disk" walk starts.
inline constexpr uint8_t kWalkStart = 0xFF;

inline constexpr uint32_t kStatusOutOfSync = 0x01;
inline constexpr uint32_t kStatusQuiesced = 0x02;
inline constexpr uint32_t kStatusVolumeInactive = 0x04;
inline constexpr uint32_t kStatusWriteCache = 0x10;
inline constexpr uint32_t kStatusExpansionTarget = 0x20;
inline constexpr uint32_t kStatusNotCertified = 0x40;
inline constexpr uint8_t kOfflineOnRequest = 5;
}  // namespace raid_phys_disk_page0

namespace raid_phys_disk_page1 {
inline constexpr size_t kPathCount = 4;   // u8
inline constexpr size_t kPaths = 12;      // 24-byte entries
inline constexpr size_t kPathSize = 24;
inline constexpr size_t kPathDevHandle = 0;  // u16, within an entry
inline constexpr uint32_t kReadSize = 36;
}  // namespace raid_phys_disk_page1
