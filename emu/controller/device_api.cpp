// The emulator's helpers for tests that look at or arm the card's devices,
// and the vendor operations of SAS IO unit control.
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"

namespace emu {
namespace {

TargetSense* TargetOf(AdapterModel* adapter, uint16_t devHandle) {
  if (adapter == nullptr) return nullptr;
  if (ModuleModel* m = adapter->FindModuleByHandle(devHandle)) return &m->sense;
  if (VolumeModel* v = adapter->raid.FindVolume(devHandle)) return &v->sense;
  return nullptr;
}

}  // namespace

ModuleModel* Emulator::Module(uint8_t slot) {
  AdapterModel* adapter = model_.FirstAdapter();
  return adapter == nullptr ? nullptr : adapter->FindModule(slot);
}

VolumeModel* Emulator::Volume(uint16_t devHandle) {
  AdapterModel* adapter = model_.FirstAdapter();
  return adapter == nullptr ? nullptr : adapter->raid.FindVolume(devHandle);
}

VolumeModel* Emulator::FirstVolume() {
  AdapterModel* adapter = model_.FirstAdapter();
  return adapter == nullptr || adapter->raid.volumes.empty() ? nullptr : &adapter->raid.volumes.front();
}

bool Emulator::QueueCheckCondition(uint16_t devHandle, SenseCode code, int times, int opcode) {
  TargetSense* sense = TargetOf(model_.FirstAdapter(), devHandle);
  if (sense == nullptr || times == 0 || opcode > 0xFF) return false;
  sense->checkCondition = code;
  sense->checkConditionTimes = times < 0 ? -1 : times;
  sense->checkConditionOpcode = opcode < 0 ? -1 : opcode;
  return true;
}

bool Emulator::QueueUnitAttention(uint16_t devHandle, SenseCode code) {
  TargetSense* sense = TargetOf(model_.FirstAdapter(), devHandle);
  if (sense == nullptr) return false;
  sense->unitAttention = true;
  sense->unitAttentionCode = code;
  return true;
}

uint32_t Emulator::SlotStatus(uint8_t slot) {
  ModuleModel* module = Module(slot);
  return module == nullptr ? 0 : module->slotStatus;
}

AdapterRuntime& Emulator::FirstRuntime() {
  for (const NodeModel& node : model_.nodes) {
    if (!node.adapters.empty()) return runtime(node.path, node.adapters.front().ioc);
  }
  return runtime("", 0);
}

void Emulator::RegisterIoUnitVendorOperation(uint8_t operation, IoUnitVendorHandler handler) {
  vendorOperations_[operation] = std::move(handler);
}

const IoUnitVendorHandler* Emulator::FindIoUnitVendorOperation(uint8_t operation) const {
  auto it = vendorOperations_.find(operation);
  return it == vendorOperations_.end() ? nullptr : &it->second;
}

}  // namespace emu
