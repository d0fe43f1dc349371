// IOC FACTS and PORT FACTS requests and the reply fields the library reads.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ioc_facts_frame {
inline constexpr size_t kFunction = 3;
inline constexpr uint32_t kRequestLength = 12;
}  // namespace ioc_facts_frame

namespace ioc_facts_reply {
inline constexpr size_t kMessageVersion = 0;     // u16
inline constexpr size_t kMessageLength = 2;      // u8, the reply's length in 32-bit words
inline constexpr size_t kProductId = 26;         // u16; bits 12-15 = 2 for SAS
inline constexpr size_t kIocCapabilities = 28;   // u32
inline constexpr size_t kFirmwareVersion = 32;   // u32: major in the high byte, then minor, unit, dev
inline constexpr size_t kMaxVolumes = 55;        // u8
inline constexpr size_t kMaxDevHandle = 56;      // u16
inline constexpr uint32_t kSize = 64;
inline constexpr uint32_t kCapabilityIntegratedRaid = 0x1000;
inline constexpr uint32_t kCapabilityNuma = 0x8000;
}  // namespace ioc_facts_reply

// Message versions below this lack the firmware, toolbox and RAID requests.
inline constexpr uint16_t kMinimumMessageVersion = 0x0200;

namespace port_facts_frame {
inline constexpr size_t kFunction = 3;
inline constexpr size_t kPortNumber = 6;  // u8
inline constexpr uint32_t kRequestLength = 12;
}  // namespace port_facts_frame

namespace port_facts_reply {
inline constexpr uint32_t kSize = 28;
}  // namespace port_facts_reply
