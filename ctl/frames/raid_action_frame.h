// The RAID ACTION request (20 bytes; the driver appends the data element at
// word 5), its reply, and the data that travels with some actions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace raid_action_frame {
inline constexpr size_t kAction = 0;          // u8
inline constexpr size_t kFunction = 3;        // u8, 0x15
inline constexpr size_t kVolumeDevHandle = 4; // u16
inline constexpr size_t kDiskNumber = 6;      // u8
inline constexpr size_t kCardMarker = 12;     // u32
inline constexpr size_t kActionData = 16;     // u32
inline constexpr uint32_t kRequestLength = 20;
static_assert(kActionData + 4 == kRequestLength);
// What the card's own firmware expects at kCardMarker with the actions that
// change its configuration.
inline constexpr uint32_t kCardMarkerValue = 0x57;
inline constexpr uint32_t kTimeout = 60;
}  // namespace raid_action_frame

namespace raid_action_reply {
inline constexpr size_t kIocStatus = 14;  // u16
inline constexpr size_t kActionData = 20; // 24 bytes
inline constexpr uint32_t kActionDataSize = 24;
inline constexpr uint32_t kBufferSize = 64;
static_assert(kActionData + kActionDataSize <= kBufferSize);
}  // namespace raid_action_reply

enum : uint8_t {
  kRaidActionIndicator = 1,
  kRaidActionCreateVolume = 2,
  kRaidActionDeleteVolume = 3,
  kRaidActionDiskOffline = 10,
  kRaidActionDiskOnline = 11,
  kRaidActionFailDisk = 15,
  kRaidActionActivateVolume = 17,
  kRaidActionCreateHotSpare = 29,
  kRaidActionDeleteHotSpare = 30,
  kRaidActionStartFunction = 33,
  kRaidActionStopFunction = 34,
  kRaidActionCompatibility = 35,
  kRaidActionVendor = 129,
};

// The create-volume data: 44 bytes of head, then 4 bytes per member.
namespace create_volume_data {
inline constexpr size_t kMemberCount = 0;   // u8
inline constexpr size_t kVolumeType = 1;    // u8
inline constexpr size_t kFlags = 4;         // u32
inline constexpr size_t kSettings = 8;      // u32
inline constexpr size_t kResyncRate = 13;   // u8
inline constexpr size_t kScrubDuration = 14;// u16
inline constexpr size_t kMaxLba = 16;       // u64
inline constexpr size_t kStripeSize = 24;   // u32
inline constexpr size_t kName = 28;         // 16 bytes
inline constexpr size_t kMembers = 44;      // 4 bytes per member
inline constexpr size_t kMemberSize = 4;
// Within a member entry.
inline constexpr size_t kMemberRaidSet = 0;    // u8
inline constexpr size_t kMemberMap = 1;        // u8
inline constexpr size_t kMemberDevHandle = 2;  // u16
static_assert(kName + 16 == kMembers);

inline constexpr uint32_t kFlagBackgroundInit = 0x4;
inline constexpr uint32_t kFlagLowLevelInit = 0x2;
inline constexpr uint32_t kFlagMigrate = 0x1;
inline constexpr uint32_t kFlagDefaultSettings = 0x80000000;
inline constexpr uint32_t kSettingProductIdSuffix = 0x8;
inline constexpr uint32_t kSettingNoAutoHotSwap = 0x4;
inline constexpr uint32_t kSettingWriteCacheOn = 0x2;
inline constexpr uint32_t kSettingWriteCacheOff = 0x1;
// The action data word bit that asks for the feature of the request.
inline constexpr uint32_t kActionFeature = 0x80000000;
}  // namespace create_volume_data

// The compatibility-check data (16 bytes out) and answer (in the action data).
namespace compatibility_data {
inline constexpr size_t kSourceDevHandle = 0;     // u16
inline constexpr size_t kCandidateDevHandle = 2;  // u16
inline constexpr size_t kFlags = 4;               // u32
inline constexpr uint32_t kSize = 16;
inline constexpr uint32_t kFlagReportSource = 0x1;
inline constexpr uint32_t kFlagSourceIsVolume = 0x2;
// The answer.
inline constexpr size_t kState = 0;               // u8, 1 not compatible
inline constexpr size_t kGenericAttributes = 4;   // u32
inline constexpr size_t kOemAttributes = 8;       // u32
inline constexpr uint8_t kStateIncompatible = 1;
}  // namespace compatibility_data

// The volume indicator (progress) answer in the action data.
namespace indicator_data {
inline constexpr size_t kTotalBlocks = 0;      // u64
inline constexpr size_t kBlocksRemaining = 8;  // u64
}  // namespace indicator_data
