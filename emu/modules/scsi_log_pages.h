// The SCSI log pages a module that speaks SAS keeps, built from its SMART
// attribute table so that its wear and error counters say the same as a
// SATA module's would.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/raid/device_model.h"

namespace emu {

// The whole page of this code, or false when the module has none.
bool SasLogPage(const ModuleModel& module, uint8_t code, std::vector<uint8_t>* page);

}  // namespace emu
