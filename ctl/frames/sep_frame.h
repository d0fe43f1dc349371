// The SCSI enclosure processor request (32 bytes) and its reply (32 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace sep_frame {
inline constexpr size_t kDevHandle = 0;        // u16, left 0: the slot is addressed by enclosure
inline constexpr size_t kFunction = 3;         // u8, 0x18
inline constexpr size_t kAction = 4;           // u8
inline constexpr size_t kFlags = 5;            // u8
inline constexpr size_t kSlotStatus = 12;      // u32, the status to write
inline constexpr size_t kSlot = 28;            // u16
inline constexpr size_t kEnclosureHandle = 30; // u16
inline constexpr uint32_t kRequestLength = 32;
static_assert(kEnclosureHandle + 2 == kRequestLength);

inline constexpr uint8_t kActionWriteStatus = 0;
inline constexpr uint8_t kActionReadStatus = 1;
inline constexpr uint8_t kFlagsEnclosureSlot = 1;
}  // namespace sep_frame

namespace sep_reply {
inline constexpr size_t kIocStatus = 14;   // u16
inline constexpr size_t kSlotStatus = 20;  // u32
inline constexpr uint32_t kSize = 32;
}  // namespace sep_reply

// The slot status bit that asks the enclosure to identify (locate) the slot.
inline constexpr uint32_t kSlotStatusIdentify = 0x00020000;
