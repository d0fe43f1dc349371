// A flash module's SMART attribute table: what a healthy new module of the
// card reports (every attribute the health report and the DLC check read,
// with plausible values), and lookups by id.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/raid/device_model.h"

namespace emu {

// Attribute ids the card's tools read.
enum SmartId : uint8_t {
  kSmartPowerOnHours = 9,
  kSmartRetiredBlocks = 5,
  kSmartPowerCycles = 12,
  kSmartGigabytesErased = 100,
  kSmartReservedBlocks = 170,
  kSmartUncorrectable = 187,
  kSmartTemperature = 194,
  kSmartUncorrectableEcc = 195,
  kSmartCrcErrors = 199,
  kSmartLifeLeft = 231,
  kSmartNandWrites = 233,
  kSmartHostWrites = 234,
  kSmartTotalHostWrites = 241,
  kSmartTotalHostReads = 242,
  kSmartDlcCapable = 243,
};

// The 30 attributes of a healthy module, in entry order.
std::vector<SmartAttribute> DefaultSmartAttributes();
// The attribute of this id in the module's table, or null.
const SmartAttribute* FindSmartAttribute(const ModuleModel& module, uint8_t id);
SmartAttribute* FindSmartAttribute(ModuleModel& module, uint8_t id);
// Replaces the attribute of the same id, or appends it; false when the
// table is full (30 entries).
bool PutSmartAttribute(ModuleModel& module, const SmartAttribute& attribute);
// Sets the life left (attribute 231: normalized value, and the fraction in
// raw bits 16-31) or the temperature (attribute 194: normalized value and
// raw byte 0; raw byte 2, the lifetime maximum, is raised to it).
bool SetLifeLeft(ModuleModel& module, uint8_t normalized, uint16_t fraction);
bool SetTemperature(ModuleModel& module, uint8_t degrees);

}  // namespace emu
