// Lookups in the device and RAID model.
#include "emu/raid/device_model.h"

#include "emu/host/host_model.h"

namespace emu {

const char* ModuleStateName(ModuleState state) {
  switch (state) {
    case ModuleState::kPresent: return "present";
    case ModuleState::kMissing: return "missing";
    case ModuleState::kLocked: return "locked";
    case ModuleState::kBusy: return "busy";
    case ModuleState::kRefusing: return "refusing";
  }
  return "?";
}

bool ModuleStateFromName(const std::string& name, ModuleState* state) {
  for (ModuleState s : {ModuleState::kPresent, ModuleState::kMissing, ModuleState::kLocked,
                        ModuleState::kBusy, ModuleState::kRefusing}) {
    if (name == ModuleStateName(s)) {
      *state = s;
      return true;
    }
  }
  return false;
}

VolumeModel* RaidModel::FindVolume(uint16_t devHandle) {
  for (VolumeModel& v : volumes) {
    if (v.devHandle == devHandle) return &v;
  }
  return nullptr;
}

const VolumeModel* RaidModel::FindVolume(uint16_t devHandle) const {
  return const_cast<RaidModel*>(this)->FindVolume(devHandle);
}

PhysDiskModel* RaidModel::FindDisk(uint8_t number) {
  for (PhysDiskModel& d : disks) {
    if (d.number == number) return &d;
  }
  return nullptr;
}

const PhysDiskModel* RaidModel::FindDisk(uint8_t number) const {
  return const_cast<RaidModel*>(this)->FindDisk(number);
}

const PhysDiskModel* RaidModel::FindDiskBySlot(uint8_t slot) const {
  for (const PhysDiskModel& d : disks) {
    if (d.slot == slot) return &d;
  }
  return nullptr;
}

const VolumeModel* RaidModel::VolumeOfDisk(uint8_t number) const {
  for (const VolumeModel& v : volumes) {
    for (const VolumeMember& m : v.members) {
      if (m.disk == number) return &v;
    }
  }
  return nullptr;
}

uint8_t RaidModel::FreeDiskNumber() const {
  for (unsigned n = 0; n < 255; ++n) {
    if (FindDisk(static_cast<uint8_t>(n)) == nullptr) return static_cast<uint8_t>(n);
  }
  return 255;
}

ModuleModel* AdapterModel::FindModule(uint8_t slot) {
  for (ModuleModel& m : modules) {
    if (m.slot == slot) return &m;
  }
  return nullptr;
}

const ModuleModel* AdapterModel::FindModule(uint8_t slot) const {
  return const_cast<AdapterModel*>(this)->FindModule(slot);
}

ModuleModel* AdapterModel::FindModuleByHandle(uint16_t devHandle) {
  for (ModuleModel& m : modules) {
    if (m.devHandle == devHandle) return &m;
  }
  return nullptr;
}

const ModuleModel* AdapterModel::FindModuleByHandle(uint16_t devHandle) const {
  return const_cast<AdapterModel*>(this)->FindModuleByHandle(devHandle);
}

}  // namespace emu
