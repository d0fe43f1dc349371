// The fields every QMX reply carries, and the request block's magic rule.
#pragma once

#include <cstddef>
#include <cstdint>

namespace message_reply {
inline constexpr size_t kMessageLength = 2;  // u8, in 32-bit words
inline constexpr size_t kFunction = 3;       // u8
inline constexpr size_t kIocStatus = 14;     // u16; bit 15: log info available
inline constexpr size_t kIocLogInfo = 16;    // u32
inline constexpr uint32_t kMinimumSize = 20; // a reply shorter than this carries no status
}  // namespace message_reply

inline constexpr uint16_t kIocStatusLogInfoAvailable = 0x8000;
inline constexpr uint16_t kIocStatusMask = 0x7FFF;

// QMX function codes used by the library.
enum : uint8_t {
  kFunctionScsiIo = 0x00,
  kFunctionTaskManagement = 0x01,
  kFunctionIocFacts = 0x03,
  kFunctionConfig = 0x04,
  kFunctionPortFacts = 0x05,
  kFunctionFwDownload = 0x09,
  kFunctionFwUpload = 0x12,
  kFunctionRaidAction = 0x15,
  kFunctionRaidScsiIo = 0x16,
  kFunctionToolbox = 0x17,
  kFunctionSep = 0x18,
  kFunctionSmpPassthrough = 0x1A,
  kFunctionSasIoUnitControl = 0x1B,
  kFunctionSataPassthrough = 0x1C,
};
