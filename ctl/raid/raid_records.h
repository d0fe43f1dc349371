// The records through which callers see RAID volumes and their physical
// disks, and the records of a volume creation request. All are byte records
// (or fixed-width structs without implicit padding) whose layout is the same
// in every build; multi-byte fields are little-endian at the offsets below.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/devices/device_info.h"
#include "ctl/base/lib_types.h"

inline constexpr uint32_t kVolumeInfoSize = 336;
inline constexpr uint32_t kPhysDiskInfoSize = 616;
inline constexpr uint32_t kVolumeSummarySize = 224;
inline constexpr uint32_t kVolumeRaidSettingsSize = 104;
inline constexpr uint32_t kDiskRaidSummarySize = 160;
inline constexpr uint32_t kDiskRaidStatusSize = 44;
inline constexpr uint32_t kMaxVolumeMembers = 10;

struct VolumeInfo {
  uint8_t bytes[kVolumeInfoSize];
};
static_assert(sizeof(VolumeInfo) == kVolumeInfoSize);

struct PhysDiskInfo {
  uint8_t bytes[kPhysDiskInfoSize];
};
static_assert(sizeof(PhysDiskInfo) == kPhysDiskInfoSize);

// A volume: handle, the summary (224 bytes at 8) and the RAID settings
// (104 bytes at 232).
namespace volume_info {
inline constexpr size_t kHandle = 0;          // u32 LibHandle of the volume (kind 0x10)
inline constexpr size_t kSummary = 8;
inline constexpr size_t kSummarySize = 8;     // u32, 224
inline constexpr size_t kDevHandle = 12;      // u16
inline constexpr size_t kBus = 16;            // u32
inline constexpr size_t kTarget = 20;         // u32
inline constexpr size_t kRaidType = 24;       // u32: 0 RAID0, 1 RAID1E, 2 RAID1, 5 RAID10, 6 other
inline constexpr size_t kHotSparePool = 28;   // u8
inline constexpr size_t kSettings = 30;       // u16
inline constexpr size_t kMaxLba = 32;         // u64
inline constexpr size_t kStripeSize = 40;     // u32
inline constexpr size_t kMemberCount = 44;    // u8 number of member disks
inline constexpr size_t kScrubDuration = 46;  // u16
inline constexpr size_t kResyncRate = 48;     // u8
inline constexpr size_t kInactiveStatus = 52; // u32
inline constexpr size_t kMembers = 56;        // 10 member entries of 12 bytes
inline constexpr size_t kMemberEntrySize = 12;
inline constexpr size_t kGuid = 176;          // u8[24]
inline constexpr size_t kGuidSize = 24;
inline constexpr size_t kName = 200;          // u8[16]
inline constexpr size_t kNameSize = 16;
inline constexpr size_t kWwid = 216;          // u64
inline constexpr size_t kMarkedType1 = 224;   // u32
inline constexpr size_t kSupportedMembers = 228;  // u8
// The RAID settings.
inline constexpr size_t kRaidSettings = 232;
inline constexpr size_t kVolumeState = 236;   // u32: 0 missing, 1 failed, 2 initializing, 3 online, 4 degraded, 5 optimal
inline constexpr size_t kScrubInProgress = 240;
inline constexpr size_t kConsistencyCheckInProgress = 244;
inline constexpr size_t kExpansionInProgress = 248;
inline constexpr size_t kBackgroundInitInProgress = 252;
inline constexpr size_t kBadBlockTableFull = 256;
inline constexpr size_t kAdjacentMirror = 260;
inline constexpr size_t kOffsetMirror = 264;
inline constexpr size_t kVolumeInactive = 268;
inline constexpr size_t kResyncInProgress = 272;
inline constexpr size_t kQuiesced = 276;
inline constexpr size_t kEnabled = 280;
inline constexpr size_t kTotalBlocks = 288;     // u64
inline constexpr size_t kBlocksRemaining = 296; // u64
inline constexpr size_t kResyncPending = 304;
inline constexpr size_t kBackgroundInitPending = 308;
inline constexpr size_t kMakeConsistentPending = 312;
inline constexpr size_t kUserCheckPending = 316;
inline constexpr size_t kMakeConsistentInProgress = 320;
inline constexpr size_t kExpansionAllowed = 324;
inline constexpr size_t kBackgroundInitComplete = 328;
inline constexpr size_t kNotConsistent = 332;
static_assert(kSummary + kVolumeSummarySize == kRaidSettings);
static_assert(kRaidSettings + kVolumeRaidSettingsSize == kVolumeInfoSize);
static_assert(kMembers + kMaxVolumeMembers * kMemberEntrySize == kGuid);
}  // namespace volume_info

// One member entry of a VolumeInfo.
namespace volume_member {
inline constexpr size_t kEntrySize = 0;   // u32, 12
inline constexpr size_t kHandle = 4;      // u32 handle of the member's physical-disk object (0 when unknown)
inline constexpr size_t kDiskNumber = 8;  // u8
inline constexpr size_t kMemberMap = 9;   // u8
inline constexpr size_t kRaidSet = 10;    // u8
}  // namespace volume_member

// A physical disk: handle, the device part (400 bytes at 8, laid out as a
// device's, ctl/devices/device_info.h), the RAID summary (160 bytes at 408) and the
// RAID status (44 bytes at 568).
namespace phys_disk_info {
inline constexpr size_t kHandle = 0;  // u32 LibHandle of the disk (kind 0x08)
inline constexpr size_t kDevicePart = 8;
inline constexpr size_t kPartSize = kDevicePart + device_part::kSize;
inline constexpr size_t kBus = kDevicePart + device_part::kBus;
inline constexpr size_t kTarget = kDevicePart + device_part::kTarget;
inline constexpr size_t kSasAddress = kDevicePart + device_part::kSasAddress;
inline constexpr size_t kEnclosureHandle = kDevicePart + device_part::kEnclosureHandle;
inline constexpr size_t kSlot = kDevicePart + device_part::kSlot;
inline constexpr size_t kDevHandle = kDevicePart + device_part::kDevHandle;
inline constexpr size_t kInquiry = kDevicePart + device_part::kInquiry;
inline constexpr size_t kLastLba = kDevicePart + device_part::kLastLba;
inline constexpr size_t kBlockLength = kDevicePart + device_part::kBlockLength;
inline constexpr size_t kCapacity = kDevicePart + device_part::kCapacity;
inline constexpr size_t kNonRotating = kDevicePart + device_part::kNonRotating;
inline constexpr size_t kRotationRate = kDevicePart + device_part::kRotationRate;
inline constexpr size_t kFormFactor = kDevicePart + device_part::kFormFactor;
inline constexpr size_t kLinkPowerValid = kDevicePart + device_part::kLinkPowerValid;
inline constexpr size_t kSlumberCapable = kDevicePart + device_part::kSlumberCapable;
inline constexpr size_t kPartialCapable = kDevicePart + device_part::kPartialCapable;
inline constexpr size_t kPhyPowerCondition = kDevicePart + device_part::kPhyPowerCondition;
inline constexpr size_t kIdentifier = kDevicePart + device_part::kIdentifier;
inline constexpr size_t kIdentifierLength = kDevicePart + device_part::kIdentifierLength;
inline constexpr size_t kIdentifierCodeSet = kDevicePart + device_part::kIdentifierType;
// The RAID summary.
inline constexpr size_t kSummary = 408;
inline constexpr size_t kSummarySize = 408;      // u32, 160
inline constexpr size_t kSummaryDevHandle = 412; // u16
inline constexpr size_t kDiskNumber = 414;       // u8
inline constexpr size_t kMemberMap = 415;        // u8
inline constexpr size_t kRaidSet = 416;          // u8
inline constexpr size_t kHotSparePool = 417;     // u8
inline constexpr size_t kIdentifyActive = 424;   // u32, library use
inline constexpr size_t kSavedSlotStatus = 428;  // u32, library use
inline constexpr size_t kVendorId = 432;         // u8[8]
inline constexpr size_t kProductId = 440;        // u8[16]
inline constexpr size_t kProductRevision = 456;  // u8[4]
inline constexpr size_t kSerialNumber = 460;     // u8[32]
inline constexpr size_t kIdentificationSize = 60;  // vendor through serial number
inline constexpr size_t kOwnBus = 524;           // u32, 0xFFFFFFFF when unmapped
inline constexpr size_t kOwnTarget = 528;        // u32
inline constexpr size_t kDeviceMaxLba = 536;     // u64
inline constexpr size_t kHostMaxLba = 544;       // u64
inline constexpr size_t kCoercedMaxLba = 552;    // u64
inline constexpr size_t kBlockSize = 560;        // u16
inline constexpr size_t kPathCount = 562;        // u8
inline constexpr size_t kDiskAttributes = 563;   // u8
// The RAID status.
inline constexpr size_t kStatus = 568;
inline constexpr size_t kStatusSize = 568;       // u32, 44
inline constexpr size_t kDiskState = 572;        // u32: 0 not configured .. 4 hot spare .. 7 optimal
inline constexpr size_t kOfflineReason = 576;    // u32
inline constexpr size_t kIncompatibleReason = 580;  // u32
inline constexpr size_t kExpansionTarget = 584;
inline constexpr size_t kWriteCacheEnabled = 588;
inline constexpr size_t kVolumeInactive = 596;
inline constexpr size_t kQuiesced = 600;
inline constexpr size_t kOutOfSync = 604;
inline constexpr size_t kNotCertified = 608;
static_assert(kDevicePart + kDevicePartSize == kSummary);
static_assert(kSummary + kDiskRaidSummarySize == kStatus);
static_assert(kVendorId + kIdentificationSize == 492);
static_assert(kStatus + kDiskRaidStatusSize <= kPhysDiskInfoSize);
static_assert(kDevHandle == 52 && kInquiry == 54 && kLastLba == 312 && kCapacity == 328);
static_assert(kIdentifier == 364 && kIdentifierCodeSet == 400);
}  // namespace phys_disk_info

// Disk states of the RAID status.
enum : uint32_t {
  kDiskStateOffline = 2,
  kDiskStateHotSpare = 4,
  kDiskStateOptimal = 7,
};

// Volume states of a VolumeInfo (volume_info::kVolumeState).
enum : uint32_t {
  kVolumeStateFailed = 1,
  kVolumeStateDegraded = 4,
  kVolumeStateOptimal = 5,
};

// Volume types of a creation request.
enum : uint32_t {
  kVolumeTypeRaid0 = 0,
  kVolumeTypeRaid1e = 1,
  kVolumeTypeRaid1 = 2,
  kVolumeTypeRaid10 = 5,
};

inline constexpr uint32_t kConfigProblemListSize = 72;
inline constexpr uint32_t kMaxConfigProblems = 8;

// The problems a volume creation or hot-spare check found: (code, value)
// pairs. The caller sets size (at least 72) and count 0.
struct ConfigProblem {
  uint32_t code;
  uint32_t value;
};

struct ConfigProblemList {
  uint32_t size;
  uint32_t count;
  ConfigProblem problems[kMaxConfigProblems];
};
static_assert(sizeof(ConfigProblemList) == kConfigProblemListSize);
static_assert(offsetof(ConfigProblemList, problems) == 8);

// Problem codes.
enum : uint32_t {
  kProblemMember = 1,             // value: reason << 24 | bus << 8 | target
  kProblemProtocolMix = 2,
  kProblemMediaMix = 3,
  kProblemDevHandleSlot = 4,
  kProblemVolumeCount = 5,
  kProblemTooManyMembers = 6,
  kProblemDiskLimit = 7,
  kProblemTooFewMembers = 8,
  kProblemMigrateType = 11,
  kProblemVolumeSize = 12,
  kProblemTypeUnsupported = 15,
  kProblemOtherAdapter = 16,
  kProblemSpareTooSmall = 17,
  kProblemNoVolumes = 18,
  kProblemRaid0Spare = 19,
  kProblemSpareLimit = 20,
  kProblemRaid1eOdd = 21,
  kProblemRaid1eOddRefused = 23,
  kProblemRaid1eOption = 24,
  kProblemSameSlot = 25,
  kProblemMix = 26,
  kProblemFeature = 27,
  kProblemTotalDisks = 28,
};

// Reasons of a member problem (code 1).
enum : uint32_t {
  kMemberNotDisk = 0x01,
  kMemberLun = 0x03,
  kMemberRemovable = 0x04,
  kMemberProtocol = 0x05,
  kMemberInUse = 0x06,
  kMemberOtherAdapter = 0x07,
  kMemberUnknownHandle = 0x08,
  kMemberBlockLength = 0x09,
  kMember4kOn512 = 0x0A,
  kMemberFeature = 0x0B,
};

inline constexpr uint32_t kCreateVolumeRequestSize = 288;

// One member of a creation request.
struct CreateVolumeMember {
  uint32_t entrySize;      // 12
  LibHandle deviceHandle;  // the member's device object
  uint8_t reserved;
  uint8_t memberIndex;     // the position in the list
  uint8_t reserved2[2];
};
static_assert(sizeof(CreateVolumeMember) == 12);

// A request to create (commit 1) or only check (commit 0) a volume.
struct CreateVolumeRequest {
  uint32_t size;                 // 288
  uint32_t commit;
  uint32_t volumeType;           // kVolumeType...
  uint8_t memberCount;           // 1-10
  uint8_t pad13[3];
  uint32_t backgroundInit;
  uint32_t lowLevelInit;
  uint32_t migrateData;          // keep member 0's data (RAID1 only)
  uint8_t hotSparePool;
  uint8_t pad29[3];
  uint32_t productIdSuffix;
  uint32_t autoHotSwap;
  uint32_t writeCaching;
  uint32_t defaultSettings;
  uint16_t scrubDuration;
  uint8_t resyncRate;
  uint8_t pad51[5];
  uint64_t volumeSize;           // bytes; 0: the largest the members allow
  uint32_t stripeSize;
  char name[16];
  uint32_t raid1eOption;
  uint32_t featureRequest;       // checked against manufacturing page 10
  CreateVolumeMember members[kMaxVolumeMembers];
  ConfigProblemList problems;
  uint32_t reserved284;
};
static_assert(sizeof(CreateVolumeRequest) == kCreateVolumeRequestSize);
static_assert(offsetof(CreateVolumeRequest, memberCount) == 12);
static_assert(offsetof(CreateVolumeRequest, hotSparePool) == 28);
static_assert(offsetof(CreateVolumeRequest, scrubDuration) == 48);
static_assert(offsetof(CreateVolumeRequest, resyncRate) == 50);
static_assert(offsetof(CreateVolumeRequest, volumeSize) == 56);
static_assert(offsetof(CreateVolumeRequest, stripeSize) == 64);
static_assert(offsetof(CreateVolumeRequest, name) == 68);
static_assert(offsetof(CreateVolumeRequest, raid1eOption) == 84);
static_assert(offsetof(CreateVolumeRequest, featureRequest) == 88);
static_assert(offsetof(CreateVolumeRequest, members) == 92);
static_assert(offsetof(CreateVolumeRequest, problems) == 212);

// A RAID compatibility question: the source (a device, physical disk or
// volume) alone (reportSource 1) or against a candidate disk.
struct RaidCompatibilityQuery {
  LibHandle source;
  LibHandle candidate;
  uint32_t reportSource;
};
static_assert(sizeof(RaidCompatibilityQuery) == 12);

// The controller's answer.
struct RaidCompatibilityResult {
  uint8_t state;               // 1: not compatible
  uint8_t pad[3];
  uint32_t genericAttributes;  // bits 0-1 protocol (1 SAS, 2 SATA), 2-3 medium (4 rotating, 8 solid state), 0x10 4K sectors
  uint32_t oemAttributes;
};
static_assert(sizeof(RaidCompatibilityResult) == 12);
static_assert(offsetof(RaidCompatibilityResult, genericAttributes) == 4);
