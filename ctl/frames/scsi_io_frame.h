// The SCSI IO request frame and its reply.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scsi_io_frame {
inline constexpr size_t kDevHandle = 0;         // u16
inline constexpr size_t kFunction = 3;          // u8, 0x00
inline constexpr size_t kSenseLowAddress = 12;  // u32, low half of the sense area's address
inline constexpr size_t kSenseLength = 18;      // u8
inline constexpr size_t kSgeOffset = 20;        // u8, in words
inline constexpr size_t kDataLength = 28;       // u32
inline constexpr size_t kIoFlags = 36;          // u16, the CDB length
inline constexpr size_t kLun = 52;              // u8, first LUN byte
inline constexpr size_t kControl = 60;          // u32
inline constexpr size_t kCdb = 64;              // u8[32]
inline constexpr size_t kCdbSize = 32;
inline constexpr uint32_t kRequestLength = 96;  // the driver appends the data element at word 24
inline constexpr size_t kBufferSize = 112;
inline constexpr uint8_t kSgeOffsetWords = 24;
static_assert(kCdb + kCdbSize == kRequestLength);
static_assert(kSgeOffsetWords * 4 == kRequestLength);

inline constexpr uint32_t kControlRead = 0x02000000;
inline constexpr uint32_t kControlWrite = 0x01000000;
}  // namespace scsi_io_frame

namespace scsi_io_reply {
inline constexpr size_t kScsiStatus = 12;  // u8
inline constexpr size_t kIocStatus = 14;   // u16
inline constexpr size_t kIocLogInfo = 16;  // u32
inline constexpr uint32_t kSize = 48;
}  // namespace scsi_io_reply

// IOCStatus values after which a SCSI command still counts as done.
inline constexpr uint16_t kIocStatusScsiDataOverrun = 0x0044;
inline constexpr uint16_t kIocStatusScsiDataUnderrun = 0x0045;
