// Fields of IO unit pages 1 and 7 (offsets from the page start, header included).
#pragma once

#include <cstddef>
#include <cstdint>

namespace io_unit_page1 {
inline constexpr uint8_t kNumber = 1;
inline constexpr size_t kFlags = 4;  // u32
inline constexpr uint32_t kReadSize = 8;
inline constexpr uint32_t kFlagIntegratedRaidDisabled = 0x40;
}  // namespace io_unit_page1

namespace io_unit_page7 {
inline constexpr uint8_t kNumber = 7;
inline constexpr size_t kPcieLinkWidth = 6;     // u8
inline constexpr size_t kPcieLinkSpeed = 7;     // u8
inline constexpr size_t kProcessorState = 8;    // u32
inline constexpr size_t kIocTemperature = 16;   // u16
inline constexpr size_t kTemperatureUnits = 18; // u8
inline constexpr size_t kIocSpeed = 19;         // u8
}  // namespace io_unit_page7
