// Fields of RAID physical disk page 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace raid_phys_disk_page0 {
inline constexpr size_t kDevHandle = 4;   // u16
inline constexpr size_t kDiskNumber = 7;  // u8
inline constexpr uint32_t kSize = 120;
// The disk number from which a "next disk" walk starts.
inline constexpr uint8_t kWalkStart = 0xFF;
}  // namespace raid_phys_disk_page0
