// The records through which callers see RAID volumes and their physical
// disks. They are built with the RAID scan; until then they are byte records
// of their final sizes with the fields that callers already read.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kVolumeInfoSize = 336;
inline constexpr uint32_t kPhysDiskInfoSize = 616;

struct VolumeInfo {
  uint8_t bytes[kVolumeInfoSize];
};
static_assert(sizeof(VolumeInfo) == kVolumeInfoSize);

struct PhysDiskInfo {
  uint8_t bytes[kPhysDiskInfoSize];
};
static_assert(sizeof(PhysDiskInfo) == kPhysDiskInfoSize);

namespace volume_info {
inline constexpr size_t kHandle = 0;        // u32 LibHandle of the volume
inline constexpr size_t kMemberCount = 44;  // u8 number of member disks
}  // namespace volume_info

namespace phys_disk_info {
inline constexpr size_t kHandle = 0;  // u32 LibHandle of the disk
}  // namespace phys_disk_info
