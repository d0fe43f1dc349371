// The pages and replies the SuperCap and GPIO queries read (the SuperCap
// wear table of manufacturing page 10: ctl/pages/manufacturing_pages.h).
#pragma once

#include <cstddef>
#include <cstdint>

// The reply of a SAS IO unit control vendor operation.
namespace io_unit_vendor_reply {
inline constexpr size_t kValue = 12;  // u16
}  // namespace io_unit_vendor_reply

// The GPIOs of IO unit page 3.
namespace io_unit_page3 {
inline constexpr uint8_t kNumber = 3;
inline constexpr size_t kGpioCount = 4;   // u8
inline constexpr size_t kGpios = 8;       // u16 each, bit 0 the level
inline constexpr uint16_t kLevel = 0x0001;
inline constexpr uint32_t kBackupRailGpio = 24;
inline constexpr uint32_t kAuxPowerGpio = 25;
}  // namespace io_unit_page3
