// Byte layouts of the integrated-RAID pages and of the pages that hold the
// controller's RAID limits: offsets from the start of the page as the
// controller returns it (header included) and sizes.
#pragma once

#include <cstdint>

namespace emu::pages {

// RAID volume page 0 (type 8, number 0): by volume DevHandle.
namespace raid_volume0 {
inline constexpr uint8_t kVersion = 10;
inline constexpr uint32_t kDevHandle = 4;
inline constexpr uint32_t kState = 6;
inline constexpr uint32_t kType = 7;
inline constexpr uint32_t kStatusFlags = 8;
inline constexpr uint32_t kSettings = 12;      // u16
inline constexpr uint32_t kHotSparePool = 14;
inline constexpr uint32_t kMaxLba = 16;        // u64
inline constexpr uint32_t kStripeSize = 24;    // u32, blocks
inline constexpr uint32_t kBlockSize = 28;     // u16
inline constexpr uint32_t kSupportedDisks = 32;
inline constexpr uint32_t kResyncRate = 33;
inline constexpr uint32_t kScrubDuration = 34;  // u16
inline constexpr uint32_t kNumDisks = 36;
inline constexpr uint32_t kInactiveStatus = 39;
inline constexpr uint32_t kMembers = 40;       // 4 bytes each: RAID set, map, disk number, reserved
inline constexpr uint32_t kMemberBytes = 4;
inline constexpr uint32_t kMemberRaidSet = 0;
inline constexpr uint32_t kMemberMap = 1;
inline constexpr uint32_t kMemberDisk = 2;
inline constexpr uint32_t Bytes(uint32_t members) { return kMembers + members * kMemberBytes; }
}  // namespace raid_volume0

// RAID volume page 1 (type 8, number 1): identity of the volume.
namespace raid_volume1 {
inline constexpr uint8_t kVersion = 3;
inline constexpr uint32_t kBytes = 64;
inline constexpr uint32_t kDevHandle = 4;
inline constexpr uint32_t kGuid = 8;
inline constexpr uint32_t kGuidBytes = 24;
inline constexpr uint32_t kName = 32;
inline constexpr uint32_t kNameBytes = 16;
inline constexpr uint32_t kWwid = 48;
static_assert(kGuid + kGuidBytes == kName && kName + kNameBytes == kWwid);
}  // namespace raid_volume1

// RAID physical-disk page 0 (type 10, number 0): by disk number.
namespace raid_disk0 {
inline constexpr uint8_t kVersion = 5;
inline constexpr uint32_t kBytes = 120;
inline constexpr uint32_t kDevHandle = 4;
inline constexpr uint32_t kNumber = 7;
inline constexpr uint32_t kHotSparePool = 10;
inline constexpr uint32_t kVendor = 16;
inline constexpr uint32_t kVendorBytes = 8;
inline constexpr uint32_t kProduct = 24;
inline constexpr uint32_t kProductBytes = 16;
inline constexpr uint32_t kRevision = 40;
inline constexpr uint32_t kRevisionBytes = 4;
inline constexpr uint32_t kSerial = 44;
inline constexpr uint32_t kSerialBytes = 32;
inline constexpr uint32_t kState = 80;
inline constexpr uint32_t kOfflineReason = 81;
inline constexpr uint32_t kIncompatibleReason = 82;
inline constexpr uint32_t kAttributes = 83;    // 0x01 SAS, 0x02 SATA, 0x04 rotating, 0x08 solid state
inline constexpr uint32_t kStatusFlags = 84;
inline constexpr uint32_t kDeviceMaxLba = 88;
inline constexpr uint32_t kHostMaxLba = 96;
inline constexpr uint32_t kCoercedMaxLba = 104;
inline constexpr uint32_t kBlockSize = 112;
static_assert(kSerial + kSerialBytes == 76 && kBlockSize + 8 == kBytes);
inline constexpr uint8_t kAttributesSataSsd = 0x0A;
}  // namespace raid_disk0

// RAID physical-disk page 1 (type 10, number 1): the paths to the disk.
namespace raid_disk1 {
inline constexpr uint8_t kVersion = 2;
inline constexpr uint32_t kNumPaths = 4;
inline constexpr uint32_t kNumber = 5;
inline constexpr uint32_t kPaths = 12;
inline constexpr uint32_t kPathBytes = 24;
inline constexpr uint32_t kPathDevHandle = 0;
inline constexpr uint32_t kPathEnclosureHandle = 2;
inline constexpr uint32_t kPathFlags = 4;        // u16: 0x1 path valid
inline constexpr uint32_t kPathSasAddress = 8;   // u64
inline constexpr uint32_t kPathSlot = 20;        // u16: the enclosure slot (page byte 32 for path 0)
inline constexpr uint32_t kPathPhy = 22;
inline constexpr uint32_t Bytes(uint32_t paths) { return kPaths + paths * kPathBytes; }
static_assert(kPaths + kPathSlot == 32);
}  // namespace raid_disk1

// RAID configuration page 0 (extended type 0x16): the active configuration.
namespace raid_config0 {
inline constexpr uint8_t kVersion = 0;
inline constexpr uint32_t kNumHotSpares = 8;
inline constexpr uint32_t kNumDisks = 9;
inline constexpr uint32_t kNumVolumes = 10;
inline constexpr uint32_t kConfigNumber = 11;
inline constexpr uint32_t kFlags = 12;
inline constexpr uint32_t kConfigGuid = 16;     // 24 bytes
inline constexpr uint32_t kNumElements = 44;
inline constexpr uint32_t kElements = 48;
inline constexpr uint32_t kElementBytes = 8;
inline constexpr uint32_t kElementFlags = 0;    // u16: low 4 bits the kind
inline constexpr uint32_t kElementVolume = 2;   // u16 volume DevHandle
inline constexpr uint32_t kElementHotSparePool = 4;
inline constexpr uint32_t kElementDisk = 5;
inline constexpr uint32_t kElementDiskHandle = 6;  // u16
inline constexpr uint16_t kElementIsVolume = 0x0;
inline constexpr uint16_t kElementIsMember = 0x1;
inline constexpr uint16_t kElementIsHotSpare = 0x2;
inline constexpr uint32_t Bytes(uint32_t elements) { return kElements + elements * kElementBytes; }
// The card keeps one configuration, number 1 (address 0, next after 0, finds it).
inline constexpr uint8_t kActiveConfig = 1;
}  // namespace raid_config0

// IOC page 6 (type 1, number 6): the RAID limits.
namespace ioc6 {
inline constexpr uint8_t kVersion = 5;
inline constexpr uint32_t kBytes = 60;
inline constexpr uint32_t kCapabilities = 4;     // 0x02 RAID0, 0x04 RAID1E, 0x08 RAID1, 0x10 RAID10, 0x20 4K
inline constexpr uint32_t kMaxDrives = 8;        // RAID0, RAID1, RAID1E, RAID10
inline constexpr uint32_t kMinDrives = 12;       // same order
inline constexpr uint32_t kMaxHotSpares = 20;
inline constexpr uint32_t kMaxPhysDisks = 21;
inline constexpr uint32_t kMaxVolumes = 22;
inline constexpr uint32_t kMaxConfigs = 23;
inline constexpr uint32_t kStripeSizeMap = 28;   // bit n: stripes of 2^n blocks
inline constexpr uint32_t kMetadataReserve = 48; // u16, MiB at the end of each member
inline constexpr uint32_t kCapRaid0 = 0x02;
inline constexpr uint32_t kCapRaid1e = 0x04;
inline constexpr uint32_t kCapRaid1 = 0x08;
inline constexpr uint32_t kCapRaid10 = 0x10;
inline constexpr uint32_t kCap4kSectors = 0x20;
}  // namespace ioc6

// Manufacturing page 4 (type 9, number 4): RAID flags and the volume attributes.
namespace mfg4 {
inline constexpr uint8_t kVersion = 5;
inline constexpr uint32_t kBytes = 108;
inline constexpr uint32_t kFlags = 8;            // u32: 0x30000 metadata size, 0x8000, 0x4000 mix rules
inline constexpr uint32_t kVolumeMembers = 105;  // the card's member count
inline constexpr uint32_t kVolumeDevices = 106;  // its module count when the volume was made
static_assert(kVolumeDevices < kBytes);
}  // namespace mfg4

}  // namespace emu::pages
