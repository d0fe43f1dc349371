// QMX request frames and replies of the functions that address the devices
// behind the controller, as the controller decodes and builds them: SCSI IO
// and its RAID passthrough, RAID ACTION, SEP, SMP passthrough, SAS IO unit
// control, task management and the SATA passthrough.
#pragma once

#include <cstdint>

namespace emu::qmx {

// SCSI IO (0x00) and RAID SCSI IO passthrough (0x16): 96-byte frame.
namespace scsi_io {
inline constexpr uint32_t kRequestBytes = 96;
inline constexpr uint32_t kDevHandle = 0;
inline constexpr uint32_t kSenseBufferLow = 12;
inline constexpr uint32_t kSenseBufferLength = 18;
inline constexpr uint32_t kSglOffset = 20;
inline constexpr uint32_t kDataLength = 28;
inline constexpr uint32_t kIoFlags = 36;        // u16: the CDB length
inline constexpr uint32_t kLun = 52;            // 8 bytes
inline constexpr uint32_t kLunBytes = 8;
inline constexpr uint32_t kControl = 60;
inline constexpr uint32_t kCdb = 64;
inline constexpr uint32_t kMaxCdbBytes = 32;
static_assert(kCdb + kMaxCdbBytes == kRequestBytes);
inline constexpr uint32_t kControlWrite = 0x01000000;
inline constexpr uint32_t kControlRead = 0x02000000;
inline constexpr uint32_t kControlDirection = 0x03000000;
// reply
inline constexpr uint32_t kReplyBytes = 40;
inline constexpr uint32_t kReplyDevHandle = 0;
inline constexpr uint32_t kReplyScsiStatus = 12;
inline constexpr uint32_t kReplyScsiState = 13;
inline constexpr uint32_t kReplyTransferCount = 20;
inline constexpr uint32_t kReplySenseCount = 24;
inline constexpr uint32_t kReplyResponseInfo = 28;
inline constexpr uint8_t kStateAutosenseValid = 0x01;
}  // namespace scsi_io

// RAID ACTION (0x15): 20-byte frame; data-out as the action's data.
namespace raid_action {
inline constexpr uint32_t kRequestBytes = 20;
inline constexpr uint32_t kAction = 0;
inline constexpr uint32_t kVolumeDevHandle = 4;
inline constexpr uint32_t kDiskNumber = 6;
inline constexpr uint32_t kLibraryWord = 12;    // 0x57 from the card's own library
inline constexpr uint32_t kActionDataWord = 16;
inline constexpr uint32_t kReplyBytes = 64;
inline constexpr uint32_t kReplyAction = 0;
inline constexpr uint32_t kReplyVolumeDevHandle = 4;
inline constexpr uint32_t kReplyDiskNumber = 6;
inline constexpr uint32_t kReplyActionData = 20;
inline constexpr uint32_t kReplyActionDataBytes = 24;
enum Action : uint8_t {
  kIndicator = 1,
  kCreateVolume = 2,
  kDeleteVolume = 3,
  kDiskOffline = 10,
  kDiskOnline = 11,
  kFailDisk = 15,
  kActivateVolume = 17,
  kCreateHotSpare = 29,
  kDeleteHotSpare = 30,
  kStartFunction = 33,
  kStopFunction = 34,
  kCompatibilityCheck = 35,
  kVendor = 129,
  kMediaEraseNotice = 131,  // the host starts (action data bit 0) or ends a media erase
};
}  // namespace raid_action

// The creation data of RAID ACTION 2: 44 bytes, then 4 per member.
namespace creation {
inline constexpr uint32_t kMemberCount = 0;
inline constexpr uint32_t kType = 1;
inline constexpr uint32_t kFlags = 4;           // u32
inline constexpr uint32_t kSettings = 8;        // u32: hot-spare pool << 16 | settings
inline constexpr uint32_t kResyncRate = 13;
inline constexpr uint32_t kScrubDuration = 14;  // u16
inline constexpr uint32_t kMaxLba = 16;         // u64; 0 = the largest the members allow
inline constexpr uint32_t kStripeSize = 24;     // u32, blocks; 0 = the default
inline constexpr uint32_t kName = 28;
inline constexpr uint32_t kNameBytes = 16;
inline constexpr uint32_t kMembers = 44;
inline constexpr uint32_t kMemberBytes = 4;
inline constexpr uint32_t kMemberRaidSet = 0;
inline constexpr uint32_t kMemberMap = 1;
inline constexpr uint32_t kMemberDevHandle = 2;  // u16
inline constexpr uint32_t kFlagMigrate = 0x00000001;
inline constexpr uint32_t kFlagLowLevelInit = 0x00000002;
inline constexpr uint32_t kFlagBackgroundInit = 0x00000004;
inline constexpr uint32_t kFlagDefaultSettings = 0x80000000;
static_assert(kName + kNameBytes == kMembers);
constexpr uint32_t Bytes(uint32_t members) { return kMembers + members * kMemberBytes; }
}  // namespace creation

// The compatibility check's data-out (RAID ACTION 35) and answer.
namespace compatibility {
inline constexpr uint32_t kDataBytes = 16;
inline constexpr uint32_t kSourceDevHandle = 0;
inline constexpr uint32_t kCandidateDevHandle = 2;
inline constexpr uint32_t kFlags = 4;
inline constexpr uint32_t kFlagReportSource = 0x1;
inline constexpr uint32_t kFlagSourceIsVolume = 0x2;
inline constexpr uint32_t kState = 0;           // action data: 0 compatible, 1 not
inline constexpr uint32_t kGenericAttributes = 4;
inline constexpr uint32_t kOemAttributes = 8;
inline constexpr uint32_t kAttrSas = 0x1;
inline constexpr uint32_t kAttrSata = 0x2;
inline constexpr uint32_t kAttrRotating = 0x4;
inline constexpr uint32_t kAttrSolidState = 0x8;
inline constexpr uint32_t kAttr4kSectors = 0x10;
}  // namespace compatibility

// SCSI enclosure processor (0x18): 32-byte frame and reply.
namespace sep {
inline constexpr uint32_t kRequestBytes = 32;
inline constexpr uint32_t kDevHandle = 0;
inline constexpr uint32_t kAction = 4;           // 0 write, 1 read slot status
inline constexpr uint32_t kFlags = 5;            // 0 by DevHandle, 1 by enclosure and slot
inline constexpr uint32_t kSlotStatus = 12;
inline constexpr uint32_t kSlot = 28;
inline constexpr uint32_t kEnclosureHandle = 30;
inline constexpr uint32_t kReplyBytes = 32;
inline constexpr uint32_t kReplyAction = 4;
inline constexpr uint32_t kReplyFlags = 5;
inline constexpr uint32_t kReplySlotStatus = 20;
inline constexpr uint32_t kReplySlot = 28;
inline constexpr uint32_t kReplyEnclosureHandle = 30;
inline constexpr uint8_t kActionWrite = 0;
inline constexpr uint8_t kActionRead = 1;
inline constexpr uint8_t kFlagsByDevHandle = 0;
inline constexpr uint8_t kFlagsByEnclosureSlot = 1;
inline constexpr uint32_t kIdentify = 0x00020000;
}  // namespace sep

// SMP passthrough (0x1A): 32-byte frame; the request as data-out, the
// response as data-in (both without the CRC).
namespace smp {
inline constexpr uint32_t kRequestBytes = 32;
inline constexpr uint32_t kPassthroughFlags = 0;
inline constexpr uint32_t kPhysicalPort = 1;
inline constexpr uint32_t kSasAddress = 16;
inline constexpr uint32_t kReplyBytes = 28;
inline constexpr uint32_t kReplyResponseLength = 4;
inline constexpr uint32_t kReplySasStatus = 13;
inline constexpr uint8_t kSasSuccess = 0x00;
inline constexpr uint8_t kSasBadDestination = 0x03;
inline constexpr uint8_t kSasProtocolNotSupported = 0x07;
}  // namespace smp

// SAS IO unit control (0x1B): 44-byte frame, 20-byte reply.
namespace io_unit_control {
inline constexpr uint32_t kRequestBytes = 44;
inline constexpr uint32_t kOperation = 0;
inline constexpr uint32_t kDevHandle = 4;
inline constexpr uint32_t kPhy = 14;
inline constexpr uint32_t kReplyBytes = 20;
inline constexpr uint32_t kReplyOperation = 0;
inline constexpr uint32_t kReplyDevHandle = 4;
inline constexpr uint32_t kReplyValue = 12;      // u16: what a vendor operation answers
enum Operation : uint8_t {
  kClearPersistentMappings = 2,
  kPhyLinkReset = 6,
  kPhyHardReset = 7,
  kClearPhyErrorLog = 8,
  kForceFullDiscovery = 11,
  kRemoveDevice = 13,
  kEnableFastPath = 16,
  kDisableFastPath = 17,
  kEnableFastPathAll = 18,
  kDisableFastPathAll = 19,
  kFirstVendor = 0x80,
};
}  // namespace io_unit_control

// SCSI task management (0x01): frame of at least 20 bytes (the library sends
// 52), 28-byte reply.
namespace task_management {
inline constexpr uint32_t kRequestBytes = 20;
inline constexpr uint32_t kDevHandle = 0;
inline constexpr uint32_t kTaskType = 5;
inline constexpr uint32_t kMessageFlags = 7;
inline constexpr uint32_t kLun = 12;
inline constexpr uint32_t kLunBytes = 8;
inline constexpr uint32_t kReplyBytes = 28;
inline constexpr uint32_t kReplyDevHandle = 0;
inline constexpr uint32_t kReplyResponseCode = 4;
inline constexpr uint32_t kReplyTaskType = 5;
inline constexpr uint32_t kReplyTerminationCount = 20;
inline constexpr uint8_t kTargetReset = 3;
inline constexpr uint8_t kLogicalUnitReset = 5;
inline constexpr uint8_t kResponseComplete = 0x00;
inline constexpr uint8_t kResponseNotSupported = 0x04;
inline constexpr uint8_t kResponseInvalidLun = 0x09;
}  // namespace task_management

// SATA passthrough (0x1C): 48-byte frame and reply.
namespace sata {
inline constexpr uint32_t kRequestBytes = 48;
inline constexpr uint32_t kDevHandle = 0;
inline constexpr uint32_t kFlags = 4;            // u16
inline constexpr uint32_t kDataLength = 24;
inline constexpr uint32_t kCommandFis = 28;
inline constexpr uint32_t kFisBytes = 20;
static_assert(kCommandFis + kFisBytes == kRequestBytes);
inline constexpr uint16_t kFlagRead = 0x0001;
inline constexpr uint16_t kFlagWrite = 0x0002;
inline constexpr uint16_t kFlagUnspecified = 0x0004;
inline constexpr uint16_t kFlagPio = 0x0010;
inline constexpr uint16_t kFlagDma = 0x0020;
inline constexpr uint16_t kFlagExecuteDiagnostic = 0x0100;
inline constexpr uint32_t kReplyBytes = 48;
inline constexpr uint32_t kReplyDevHandle = 0;
inline constexpr uint32_t kReplySasStatus = 13;
inline constexpr uint32_t kReplyStatusFis = 20;
inline constexpr uint32_t kReplyStatusControl = 40;
inline constexpr uint32_t kReplyTransferCount = 44;
static_assert(kReplyStatusFis + kFisBytes == kReplyStatusControl);
}  // namespace sata

}  // namespace emu::qmx
