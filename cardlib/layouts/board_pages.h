// The pages and replies the SuperCap and GPIO queries read.
#pragma once

#include <cstddef>
#include <cstdint>

// The reply of a SAS IO unit control vendor operation.
namespace io_unit_vendor_reply {
inline constexpr size_t kValue = 12;  // u16
}  // namespace io_unit_vendor_reply

// The SuperCap wear table of manufacturing page 10 (offsets from the page
// start, header included).
namespace supercap_table {
inline constexpr uint8_t kPageNumber = 10;
inline constexpr size_t kMarker = 4;          // u8
inline constexpr uint8_t kValidMarker = 128;
inline constexpr size_t kIntervals = 48;      // u8, n
inline constexpr size_t kMargin = 49;         // u8, percent
inline constexpr size_t kFloor = 50;          // u16
inline constexpr size_t kStep = 54;           // u16, power-on hours per interval
inline constexpr size_t kExpected = 60;       // u16[n + 1]
inline constexpr uint32_t kHeaderBytes = kStep + 2;
}  // namespace supercap_table

// The GPIOs of IO unit page 3.
namespace io_unit_page3 {
inline constexpr size_t kGpioCount = 4;   // u8
inline constexpr size_t kGpios = 8;       // u16 each, bit 0 the level
inline constexpr uint16_t kLevel = 0x0001;
inline constexpr uint32_t kBackupRailGpio = 24;
inline constexpr uint32_t kAuxPowerGpio = 25;
}  // namespace io_unit_page3
