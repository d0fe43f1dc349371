// Fields of RAID volume pages 0 and 1 and of RAID configuration page 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace raid_volume_page0 {
inline constexpr size_t kDevHandle = 4;        // u16
inline constexpr size_t kVolumeState = 6;      // u8
inline constexpr size_t kVolumeType = 7;       // u8
inline constexpr size_t kStatusFlags = 8;      // u32
inline constexpr size_t kSettings = 12;        // u16
inline constexpr size_t kHotSparePool = 14;    // u8
inline constexpr size_t kMaxLba = 16;          // u64
inline constexpr size_t kStripeSize = 24;      // u32
inline constexpr size_t kBlockSize = 28;       // u16
inline constexpr size_t kSupportedMembers = 32;// u8
inline constexpr size_t kResyncRate = 33;      // u8
inline constexpr size_t kScrubDuration = 34;   // u16
inline constexpr size_t kMemberCount = 36;     // u8
inline constexpr size_t kInactiveStatus = 39;  // u8
inline constexpr size_t kMembers = 40;         // 4 bytes per member
inline constexpr size_t kMemberSize = 4;
// Within a member entry.
inline constexpr size_t kMemberRaidSet = 0;
inline constexpr size_t kMemberMap = 1;
inline constexpr size_t kMemberDiskNumber = 2;
inline constexpr uint32_t kHeadSize = 44;  // through the first member

inline constexpr uint8_t kStateMissing = 0;
inline constexpr uint8_t kStateFailed = 1;

inline constexpr uint32_t kStatusEnabled = 0x00000001;
inline constexpr uint32_t kStatusQuiesced = 0x00000002;
inline constexpr uint32_t kStatusInactive = 0x00000004;
inline constexpr uint32_t kStatusBadBlockTableFull = 0x00000008;
inline constexpr uint32_t kStatusAdjacentMirror = 0x00000010;
inline constexpr uint32_t kStatusBackgroundInitComplete = 0x00000020;
inline constexpr uint32_t kStatusExpansionAllowed = 0x00000040;
inline constexpr uint32_t kStatusNotConsistent = 0x00000080;
inline constexpr uint32_t kStatusResyncInProgress = 0x00010000;
inline constexpr uint32_t kStatusBackgroundInitInProgress = 0x00020000;
inline constexpr uint32_t kStatusExpansionInProgress = 0x00040000;
inline constexpr uint32_t kStatusConsistencyCheckInProgress = 0x00080000;
inline constexpr uint32_t kStatusScrubInProgress = 0x00100000;
inline constexpr uint32_t kStatusMakeConsistentInProgress = 0x00200000;
inline constexpr uint32_t kStatusUserCheckPending = 0x00400000;
inline constexpr uint32_t kStatusMakeConsistentPending = 0x00800000;
inline constexpr uint32_t kStatusBackgroundInitPending = 0x01000000;
inline constexpr uint32_t kStatusResyncPending = 0x02000000;
// The DevHandle from which a "next volume" walk starts.
inline constexpr uint16_t kWalkStart = 0xFFFF;
}  // namespace raid_volume_page0

namespace raid_volume_page1 {
inline constexpr size_t kGuid = 8;    // 24 bytes
inline constexpr size_t kName = 32;   // 16 bytes
inline constexpr size_t kWwid = 48;   // u64
inline constexpr uint32_t kSize = 64;
}  // namespace raid_volume_page1

namespace raid_config_page0 {
inline constexpr size_t kDisksConfigured = 9;    // u8
inline constexpr size_t kVolumesConfigured = 10; // u8
inline constexpr size_t kElementCount = 44;      // u8
inline constexpr size_t kElements = 48;          // 8 bytes each
inline constexpr size_t kElementSize = 8;
// Within an element.
inline constexpr size_t kElementFlags = 0;       // u16, bits 0-3 the element type
inline constexpr size_t kElementDevHandle = 2;   // u16, a volume element's volume
inline constexpr uint16_t kElementTypeMask = 0x0F;
inline constexpr uint16_t kElementVolume = 0;
inline constexpr uint32_t kActiveConfiguration = 0x20000000;
}  // namespace raid_config_page0
