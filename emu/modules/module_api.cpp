// The emulator's helpers for tests that look at what the modules received
// and arm their command sets.
#include "emu/host/emulator.h"
#include "emu/modules/smart_attributes.h"

namespace emu {

ModuleRuntime& Emulator::ModuleActivity(uint8_t slot) { return FirstRuntime().modules[slot]; }

bool Emulator::SetSctBusy(uint8_t slot, int times) {
  ModuleModel* m = Module(slot);
  if (m == nullptr) return false;
  m->sctBusy = times < 0 ? -1 : times;
  return true;
}

bool Emulator::LockModule(uint8_t slot, bool locked, const std::string& userPassword) {
  ModuleModel* m = Module(slot);
  if (m == nullptr) return false;
  if (locked) {
    m->state = ModuleState::kLocked;
    m->userPassword = userPassword;
  } else if (m->state == ModuleState::kLocked) {
    m->state = ModuleState::kPresent;
  }
  return true;
}

bool Emulator::SetModuleRefusing(uint8_t slot, bool refusing) {
  ModuleModel* m = Module(slot);
  if (m == nullptr) return false;
  if (refusing) {
    m->state = ModuleState::kRefusing;
  } else if (m->state == ModuleState::kRefusing) {
    m->state = ModuleState::kPresent;
  }
  return true;
}

bool Emulator::FailSmartRead(uint8_t slot, bool fails) {
  ModuleModel* m = Module(slot);
  if (m == nullptr) return false;
  m->smartFails = fails;
  return true;
}

bool Emulator::SetSmartAttribute(uint8_t slot, const SmartAttribute& attribute) {
  ModuleModel* m = Module(slot);
  return m != nullptr && PutSmartAttribute(*m, attribute);
}

void Emulator::SetSuperCapBusy(uint32_t times) {
  if (AdapterModel* a = model_.FirstAdapter()) a->superCapBusy = times;
}

}  // namespace emu
