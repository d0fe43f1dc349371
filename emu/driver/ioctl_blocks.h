// The Linux controller driver's control ioctls as the driver decodes them:
// request codes (_IOWR('L', nr, size)) and the byte offsets of each block.
// Every block starts with the 12-byte header: IOC number, port, maximum data size.
#pragma once

#include <cstdint>

namespace emu::ioctl {

constexpr uint32_t IoWr(uint32_t nr, uint32_t size) {
  return (3u << 30) | (size << 16) | (0x4Cu << 8) | nr;
}
constexpr uint32_t RequestType(uint32_t request) { return (request >> 8) & 0xFF; }
constexpr uint32_t RequestNumber(uint32_t request) { return request & 0xFF; }
constexpr uint32_t RequestSize(uint32_t request) { return (request >> 16) & 0x3FFF; }
constexpr uint32_t RequestDirection(uint32_t request) { return request >> 30; }

// Request numbers and fixed block sizes.
enum Number : uint32_t {
  kNrIocInfo = 17,
  kNrCommand = 20,
  kNrEventQuery = 21,
  kNrEventEnable = 22,
  kNrEventReport = 23,
  kNrHardReset = 24,
  kNrDiagRegister = 26,
  kNrDiagRelease = 27,
  kNrDiagUnregister = 28,
  kNrDiagQuery = 29,
  kNrDiagRead = 30,
  kNrBusTargetMap = 31,
};
inline constexpr uint32_t kIocInfoBytes = 92;
inline constexpr uint32_t kCommandBytes = 72;
inline constexpr uint32_t kHardResetBytes = 12;
inline constexpr uint32_t kDiagRegisterBytes = 120;
inline constexpr uint32_t kDiagReleaseBytes = 16;
inline constexpr uint32_t kDiagUnregisterBytes = 16;
inline constexpr uint32_t kDiagQueryBytes = 124;
inline constexpr uint32_t kDiagReadBytes = 32;  // the 28-byte head and the first data word
inline constexpr uint32_t kBusTargetMapBytes = 24;
inline constexpr uint32_t kEventQueryBytes = 32;
inline constexpr uint32_t kEventEnableBytes = 28;
inline constexpr uint32_t kEventReportBytes = 212;  // room for one entry; the block may be longer

inline constexpr uint32_t kIocInfo = IoWr(kNrIocInfo, kIocInfoBytes);
inline constexpr uint32_t kCommand = IoWr(kNrCommand, kCommandBytes);
inline constexpr uint32_t kHardReset = IoWr(kNrHardReset, kHardResetBytes);
inline constexpr uint32_t kDiagRegister = IoWr(kNrDiagRegister, kDiagRegisterBytes);
inline constexpr uint32_t kDiagRelease = IoWr(kNrDiagRelease, kDiagReleaseBytes);
inline constexpr uint32_t kDiagUnregister = IoWr(kNrDiagUnregister, kDiagUnregisterBytes);
inline constexpr uint32_t kDiagQuery = IoWr(kNrDiagQuery, kDiagQueryBytes);
inline constexpr uint32_t kDiagRead = IoWr(kNrDiagRead, kDiagReadBytes);
inline constexpr uint32_t kBusTargetMap = IoWr(kNrBusTargetMap, kBusTargetMapBytes);
inline constexpr uint32_t kEventQuery = IoWr(kNrEventQuery, kEventQueryBytes);
inline constexpr uint32_t kEventEnable = IoWr(kNrEventEnable, kEventEnableBytes);
inline constexpr uint32_t kEventReport = IoWr(kNrEventReport, kEventReportBytes);
static_assert(kEventQuery == 0xC0204C15u && kEventEnable == 0xC01C4C16u && kEventReport == 0xC0D44C17u);
static_assert(kIocInfo == 0xC05C4C11u && kCommand == 0xC0484C14u && kHardReset == 0xC00C4C18u);
static_assert(kDiagRegister == 0xC0784C1Au && kDiagRelease == 0xC0104C1Bu &&
              kDiagUnregister == 0xC0104C1Cu && kDiagQuery == 0xC07C4C1Du &&
              kDiagRead == 0xC0204C1Eu && kBusTargetMap == 0xC0184C1Fu);

// The common header.
namespace header {
inline constexpr uint32_t kIocNumber = 0;
inline constexpr uint32_t kPortNumber = 4;
inline constexpr uint32_t kMaxDataSize = 8;
inline constexpr uint32_t kBytes = 12;
}  // namespace header

// Event query (nr 21), enable (nr 22) and report (nr 23).
namespace event {
inline constexpr uint32_t kQueryEntries = 12;  // u16: the ring's length
inline constexpr uint32_t kQueryMask = 16;     // u32[4]
inline constexpr uint32_t kEnableMask = 12;    // u32[4]
inline constexpr uint32_t kReportEntries = 12; // 200-byte entries, as many as the block's size allows
inline constexpr uint32_t kEntryBytes = 200;
inline constexpr uint32_t kEntryCode = 0;
inline constexpr uint32_t kEntrySequence = 4;
inline constexpr uint32_t kEntryData = 8;
static_assert(kQueryMask + 16 == kEventQueryBytes && kEnableMask + 16 == kEventEnableBytes);
static_assert(kReportEntries + kEntryBytes == kEventReportBytes);
}  // namespace event

// IOC information (nr 17).
namespace ioc_info {
inline constexpr uint32_t kAdapterType = 12;
inline constexpr uint32_t kPortNumber = 16;
inline constexpr uint32_t kPciDeviceId = 20;
inline constexpr uint32_t kHardwareRevision = 24;
inline constexpr uint32_t kSubsystemDevice = 28;
inline constexpr uint32_t kSubsystemVendor = 32;
inline constexpr uint32_t kReserved = 36;
inline constexpr uint32_t kFirmwareVersion = 40;
inline constexpr uint32_t kBiosVersion = 44;
inline constexpr uint32_t kDriverVersion = 48;
inline constexpr uint32_t kDriverVersionBytes = 32;
inline constexpr uint32_t kReserved1 = 80;
inline constexpr uint32_t kScsiId = 81;
inline constexpr uint32_t kReserved2 = 82;
inline constexpr uint32_t kPciLocation = 84;
inline constexpr uint32_t kPciSegment = 88;
static_assert(kPciSegment + 4 == kIocInfoBytes);
}  // namespace ioc_info

// COMMAND (nr 20): the 72-byte head, then the request frame.
namespace command {
inline constexpr uint32_t kTimeout = 12;
inline constexpr uint32_t kReplyAddress = 16;
inline constexpr uint32_t kDataInAddress = 24;
inline constexpr uint32_t kDataOutAddress = 32;
inline constexpr uint32_t kSenseAddress = 40;
inline constexpr uint32_t kMaxReplyBytes = 48;
inline constexpr uint32_t kDataInSize = 52;
inline constexpr uint32_t kDataOutSize = 56;
inline constexpr uint32_t kMaxSenseBytes = 60;
inline constexpr uint32_t kSglOffsetWords = 64;
inline constexpr uint32_t kFrame = 68;
static_assert(kFrame + 4 == kCommandBytes);  // the frame's first word ends the fixed head
// The longest request frame the controller takes (its request frame size).
inline constexpr uint32_t kMaxFrameBytes = 128;
}  // namespace command

// Bus/target to DevHandle mapping (nr 31).
namespace bus_target {
inline constexpr uint32_t kTarget = 12;
inline constexpr uint32_t kBus = 16;
inline constexpr uint32_t kDevHandle = 20;
static_assert(kDevHandle + 4 == kBusTargetMapBytes);
}  // namespace bus_target

// Diagnostic buffers (nr 26-30).
namespace diag {
inline constexpr uint32_t kUniqueIdBase = 0xABCDEF00;
// register
inline constexpr uint32_t kRegSecondType = 12;
inline constexpr uint32_t kRegBufferType = 13;
inline constexpr uint32_t kRegApplicationFlags = 14;
inline constexpr uint32_t kRegDiagnosticFlags = 16;
inline constexpr uint32_t kRegProductSpecific = 20;  // 92 bytes
inline constexpr uint32_t kRegRequestedSize = 112;
inline constexpr uint32_t kRegUniqueId = 116;
static_assert(kRegUniqueId + 4 == kDiagRegisterBytes);
// query
inline constexpr uint32_t kQueryBufferType = 13;
inline constexpr uint32_t kQueryApplicationFlags = 14;
inline constexpr uint32_t kQueryDiagnosticFlags = 16;
inline constexpr uint32_t kQueryProductSpecific = 20;
inline constexpr uint32_t kQueryTotalSize = 112;
inline constexpr uint32_t kQueryDriverAddedSize = 116;
inline constexpr uint32_t kQueryUniqueId = 120;
static_assert(kQueryUniqueId + 4 == kDiagQueryBytes);
// application flags the query answers
inline constexpr uint16_t kAppOwned = 0x0001;
inline constexpr uint16_t kBufferValid = 0x0002;
inline constexpr uint16_t kFirmwareAccess = 0x0004;
// unregister and release
inline constexpr uint32_t kUniqueId = 12;
static_assert(kUniqueId + 4 == kDiagReleaseBytes);
// read: the head, then the data
inline constexpr uint32_t kReadStatus = 12;
inline constexpr uint32_t kReadStartOffset = 16;
inline constexpr uint32_t kReadBytesToRead = 20;
inline constexpr uint32_t kReadUniqueId = 24;
inline constexpr uint32_t kReadData = 28;
// buffer types: 0 trace and 1 snapshot are supported, others refused (EPERM)
inline constexpr uint8_t kTypeTrace = 0;
inline constexpr uint8_t kTypeSnapshot = 1;
// the largest buffer the driver will allocate
inline constexpr uint32_t kMaxBufferBytes = 64u * 1024 * 1024;
}  // namespace diag

}  // namespace emu::ioctl
