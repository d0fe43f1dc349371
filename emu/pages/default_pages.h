// Pages a card has when new that the RAID and SAS rules also read: the RAID
// limits (IOC page 6), the RAID flags and volume attributes (manufacturing
// page 4) and the SAS IO unit settings (pages 1, 4 and 5); and the pages of
// the board's power protection. Part of DefaultPages; the limits of a card
// whose page 6 is gone fall back to these.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

std::vector<uint8_t> IocPage6(const AdapterModel& adapter);
std::vector<uint8_t> ManufacturingPage4(const AdapterModel& adapter);
std::vector<uint8_t> SasIoUnitPage1(const AdapterModel& adapter);
std::vector<uint8_t> SasIoUnitPage4(const AdapterModel& adapter);
std::vector<uint8_t> SasIoUnitPage5(const AdapterModel& adapter);
// The board's power protection and thresholds (emu/pages/power_pages.cpp): IO unit
// pages 3 (GPIO levels) and 8 (temperature thresholds), manufacturing page 6
// (what the GPIOs are).
std::vector<uint8_t> IoUnitPage3(const AdapterModel& adapter);
std::vector<uint8_t> IoUnitPage8(const AdapterModel& adapter);
std::vector<uint8_t> ManufacturingPage6(const AdapterModel& adapter);

// Pages only the configuration dump reads (emu/pages/support_pages.cpp).
std::vector<uint8_t> IocPage0(const AdapterModel& adapter);
std::vector<uint8_t> IocPage8(const AdapterModel& adapter);
std::vector<uint8_t> IoUnitUniquePage0(const AdapterModel& adapter);
std::vector<uint8_t> BiosPage(const AdapterModel& adapter, uint8_t number);  // 1 to 4
std::vector<uint8_t> ControllerLogPage0(const AdapterModel& adapter);

// The phys of the card (the SAS IO unit and phy pages have one entry each).
inline constexpr uint32_t kCardPhys = 8;

}  // namespace emu
