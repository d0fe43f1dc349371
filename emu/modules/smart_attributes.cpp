// The healthy module: a year in service (8760.5 power-on hours, 412 power
// cycles), 96.57 % life left counted in program/erase cycles, 38 degrees
// now and 52 at most, two retired blocks of 2000 reserved, a write
// amplification of 1.2. Raw values are little-endian over the six raw bytes
// and the vendor byte after them; the power-on hours carry the
// milliseconds past the hour from raw byte 4 on.
#include "emu/modules/smart_attributes.h"

namespace emu {
namespace {

constexpr uint64_t Split(uint32_t low, uint32_t high) { return low | static_cast<uint64_t>(high) << 32; }

}  // namespace

std::vector<SmartAttribute> DefaultSmartAttributes() {
  // id, flags, normalized, worst, raw, threshold
  return {
      {1, 0x0032, 100, 100, 976562500, 0},             // bytes read, in 512-byte units (500 GB)
      {kSmartRetiredBlocks, 0x0033, 100, 100, 2, 10},
      {kSmartPowerOnHours, 0x0032, 100, 100, Split(8760, 1800000), 0},
      {kSmartPowerCycles, 0x0032, 100, 100, 412, 0},
      {13, 0x0032, 100, 100, Split(1000000, 3), 0},    // soft read errors per reads
      {kSmartGigabytesErased, 0x0032, 100, 100, 12800, 0},
      {kSmartReservedBlocks, 0x0033, 100, 100, 1998, 10},
      {171, 0x0032, 100, 100, 0, 0},                   // program fails
      {172, 0x0032, 100, 100, 0, 0},                   // erase fails
      {174, 0x0032, 100, 100, 7, 0},                   // unexpected power losses
      {177, 0x0000, 3, 3, 0, 0},                       // wear range delta, percent
      {181, 0x0032, 100, 100, 0, 0},
      {182, 0x0032, 100, 100, 0, 0},
      {184, 0x0033, 100, 100, 0, 90},
      {kSmartUncorrectable, 0x0032, 100, 100, 0, 0},
      {kSmartTemperature, 0x0022, 38, 52, 38 | (52u << 16) | (18ull << 32), 0},  // now, max, min
      {kSmartUncorrectableEcc, 0x001C, 100, 100, 0, 0},
      {196, 0x0033, 100, 100, 0, 10},
      {198, 0x0030, 100, 100, 0, 0},
      {kSmartCrcErrors, 0x003E, 100, 100, 0, 0},
      {201, 0x001C, 100, 100, 0, 0},
      {204, 0x001C, 100, 100, 0, 0},
      {230, 0x0013, 100, 100, 0, 0},                   // drive life protection: not engaged
      {kSmartLifeLeft, 0x0013, 96, 96, 57u << 16, 10},
      {232, 0x0013, 100, 100, 0, 10},
      {kSmartNandWrites, 0x0032, 100, 100, 15000, 0},
      {kSmartHostWrites, 0x0032, 100, 100, 12500, 0},
      {kSmartTotalHostWrites, 0x0032, 100, 100, 12500, 0},
      {kSmartTotalHostReads, 0x0032, 100, 100, 9800, 0},
      {kSmartDlcCapable, 0x0032, 100, 100, 0, 0},      // the firmware knows DLC
  };
}

const SmartAttribute* FindSmartAttribute(const ModuleModel& module, uint8_t id) {
  for (const SmartAttribute& a : module.smart) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

SmartAttribute* FindSmartAttribute(ModuleModel& module, uint8_t id) {
  for (SmartAttribute& a : module.smart) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

bool PutSmartAttribute(ModuleModel& module, const SmartAttribute& attribute) {
  if (SmartAttribute* a = FindSmartAttribute(module, attribute.id)) {
    *a = attribute;
    return true;
  }
  if (module.smart.size() >= kSmartAttributeSlots) return false;
  module.smart.push_back(attribute);
  return true;
}

bool SetLifeLeft(ModuleModel& module, uint8_t normalized, uint16_t fraction) {
  SmartAttribute a{kSmartLifeLeft, 0x0013, normalized, normalized, 0, 10};
  if (const SmartAttribute* old = FindSmartAttribute(module, kSmartLifeLeft)) a = *old;
  a.normalized = normalized;
  a.worst = normalized;
  a.raw = (a.raw & ~0xFFFF0000ull) | static_cast<uint64_t>(fraction) << 16;
  return PutSmartAttribute(module, a);
}

bool SetTemperature(ModuleModel& module, uint8_t degrees) {
  SmartAttribute a{kSmartTemperature, 0x0022, degrees, degrees, 0, 0};
  if (const SmartAttribute* old = FindSmartAttribute(module, kSmartTemperature)) a = *old;
  uint8_t highest = static_cast<uint8_t>(a.raw >> 16);
  if (degrees > highest) highest = degrees;
  a.normalized = degrees;
  a.worst = highest;
  a.raw = (a.raw & ~0x00FF00FFull) | degrees | static_cast<uint64_t>(highest) << 16;
  return PutSmartAttribute(module, a);
}

}  // namespace emu
