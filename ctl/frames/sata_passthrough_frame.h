// The SATA passthrough request (48 bytes; the driver appends the data
// element at word 12) and its reply.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sata_frame {
inline constexpr size_t kDevHandle = 0;         // u16
inline constexpr size_t kFunction = 3;          // u8, 0x1C
inline constexpr size_t kPassthroughFlags = 4;  // u16
inline constexpr size_t kMsgFlags = 7;          // u8, 0
inline constexpr size_t kDataLength = 24;       // u32
inline constexpr size_t kCommandFis = 28;       // u8[20]
inline constexpr uint32_t kRequestLength = 48;
static_assert(kCommandFis + 20 == kRequestLength);

inline constexpr uint16_t kFlagExecuteDiagnostic = 0x0100;
inline constexpr uint16_t kFlagDma = 0x0020;
inline constexpr uint16_t kFlagPio = 0x0010;
inline constexpr uint16_t kFlagUnspecified = 0x0004;
inline constexpr uint16_t kFlagWrite = 0x0002;
inline constexpr uint16_t kFlagRead = 0x0001;
}  // namespace sata_frame

namespace sata_reply {
inline constexpr size_t kSasStatus = 13;      // u8
inline constexpr size_t kIocStatus = 14;      // u16
inline constexpr size_t kIocLogInfo = 16;     // u32
inline constexpr size_t kStatusFis = 20;      // u8[20]
inline constexpr size_t kStatusControl = 40;  // u32
inline constexpr size_t kTransferCount = 44;  // u32
inline constexpr uint32_t kSize = 48;
static_assert(kTransferCount + 4 == kSize);
}  // namespace sata_reply
