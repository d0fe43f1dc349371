// The SMP passthrough request (32 bytes sent from a 1060-byte buffer) and
// its reply (28 bytes read from a 1040-byte buffer).
#pragma once

#include <cstddef>
#include <cstdint>

namespace smp_frame {
inline constexpr size_t kPassthroughFlags = 0;  // u8, 0
inline constexpr size_t kPhysicalPort = 1;      // u8, 0xFF: any port
inline constexpr size_t kFunction = 3;          // u8, 0x1A
inline constexpr size_t kSasAddress = 16;       // u64
inline constexpr uint32_t kRequestLength = 32;
inline constexpr uint32_t kBufferSize = 1060;
inline constexpr uint8_t kAnyPort = 0xFF;
static_assert(kSasAddress + 8 <= kRequestLength);
}  // namespace smp_frame

namespace smp_reply {
inline constexpr size_t kResponseLength = 4;  // u16
inline constexpr size_t kSasStatus = 13;      // u8
inline constexpr size_t kIocStatus = 14;      // u16
inline constexpr uint32_t kSize = 28;
inline constexpr uint32_t kBufferSize = 1040;
}  // namespace smp_reply
