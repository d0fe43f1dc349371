// Fields of the pages that tell the controller's RAID limits and options:
// IOC page 6, SAS phy page 0 and SAS enclosure page 0 (manufacturing pages 4
// and 10: ctl/pages/manufacturing_pages.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace ioc_page6 {
inline constexpr uint8_t kNumber = 6;
inline constexpr size_t kCapabilities = 4;     // u32
inline constexpr size_t kMaxDrives = 8;        // u8 each: RAID0, RAID1, RAID1E, RAID10
inline constexpr size_t kMinDrives = 12;       // u8 each, the same order
inline constexpr size_t kMaxHotSpares = 20;    // u8
inline constexpr size_t kMaxPhysDisks = 21;    // u8
inline constexpr size_t kMaxVolumes = 22;      // u8
inline constexpr size_t kMetadataReserve = 48; // u16, MiB
inline constexpr uint32_t kReadSize = 52;
// The order of the per-type drive counts.
inline constexpr size_t kRaid0 = 0;
inline constexpr size_t kRaid1 = 1;
inline constexpr size_t kRaid1e = 2;
inline constexpr size_t kRaid10 = 3;

inline constexpr uint32_t kCapRaid0 = 0x02;
inline constexpr uint32_t kCapRaid1e = 0x04;
inline constexpr uint32_t kCapRaid1 = 0x08;
inline constexpr uint32_t kCapRaid10 = 0x10;
inline constexpr uint32_t kCap4kSectors = 0x20;
}  // namespace ioc_page6

namespace sas_phy_page0 {
inline constexpr size_t kPhyInfo = 24;  // u32
inline constexpr uint32_t kPowerConditionMask = 0x18000000;
inline constexpr uint32_t kPowerPartial = 0x08000000;
inline constexpr uint32_t kPowerSlumber = 0x10000000;
}  // namespace sas_phy_page0

namespace enclosure_page0 {
inline constexpr size_t kLogicalId = 12;  // u64
inline constexpr uint32_t kSize = 40;
}  // namespace enclosure_page0
