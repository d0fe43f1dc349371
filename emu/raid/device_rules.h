// How the emulated controller and driver derive what they show from the
// device and RAID model: which slots a board populates, the default modules
// and volume, the RAID limits of IOC page 6, what a member contributes to a
// volume, which DevHandles are SCSI targets and where the driver puts them.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

// The module slots a board type populates (types 7, 8, 11, 12 and unknown
// types: 4-7; type 9: 0-7; the others as their cages say).
std::vector<uint8_t> PopulatedSlots(uint8_t boardType);

// The modules a card of these settings has when new: one 128 GB module
// (model type '0', configuration "2519") in each populated slot.
std::vector<ModuleModel> DefaultModules(const AdapterModel& adapter);
ModuleModel DefaultModule(const AdapterModel& adapter, uint8_t slot, uint16_t devHandle);

// The card carries no volume (manufacturing page 10 volume mode 1, or the
// unconfigured board's subsystem ID 0x72).
bool CardUnconfigured(const AdapterModel& adapter);

// The RAID state a card has when new: one optimal RAID0 volume of every
// present module with the controller's default settings, or nothing on an
// unconfigured card. Needs the adapter's pages (IOC page 6) and modules.
RaidModel DefaultRaid(const AdapterModel& adapter);

// The RAID limits as the card's IOC page 6 (current copy) holds them; the
// default page's values when the page is gone.
struct RaidLimits {
  uint32_t capabilities = 0;
  uint8_t maxDrives[4] = {};  // by LimitIndex
  uint8_t minDrives[4] = {};
  uint8_t maxHotSpares = 0;
  uint8_t maxPhysDisks = 0;
  uint8_t maxVolumes = 0;
  uint32_t stripeSizeMap = 0;
  uint16_t metadataReserveMiB = 0;
};
RaidLimits ReadRaidLimits(const AdapterModel& adapter);
// The limits' index of a volume type (RAID0, RAID1, RAID1E, RAID10), -1 for others.
int LimitIndex(uint8_t type);
// The IOC page 6 capability bit a type needs (0 for unknown types).
uint32_t TypeCapability(uint8_t type);

// A module is on the bus when it is not missing and its phy is not disabled
// in SAS IO unit page 1 (current copy).
bool PhyDisabled(const AdapterModel& adapter, uint8_t phy);
bool ModuleAttached(const AdapterModel& adapter, const ModuleModel& module);

// The last LBAs a member reports: the device's, the host's (less the
// metadata reserve) and the coerced one (rounded down to whole MiB).
struct MemberLbas {
  uint64_t device = 0;
  uint64_t host = 0;
  uint64_t coerced = 0;
};
MemberLbas MemberMaxLbas(const AdapterModel& adapter, const ModuleModel& module);
// The largest maximum LBA a volume of this type over these modules can
// have (0 when they give no room): the smallest coerced member times the
// data members.
uint64_t LargestVolumeMaxLba(const AdapterModel& adapter, uint8_t type,
                             const std::vector<const ModuleModel*>& members);

// A new volume's identity and DevHandle.
uint64_t VolumeWwid(const AdapterModel& adapter, uint16_t devHandle);
std::vector<uint8_t> VolumeGuid(const AdapterModel& adapter, uint16_t devHandle);
uint16_t FreeVolumeHandle(const AdapterModel& adapter);  // 0 when none is free
uint16_t FreeVolumeHandle(const AdapterModel& adapter, const RaidModel& raid);

// After a member changes state: optimal when every member is, else failed
// for RAID0 (it has no redundancy) and degraded for the other types.
void RecomputeVolumeState(const RaidModel& raid, VolumeModel* volume);

// What a DevHandle names.
enum class DeviceKind { kNone, kModule, kRaidDisk, kVolume };
struct DeviceRef {
  DeviceKind kind = DeviceKind::kNone;
  ModuleModel* module = nullptr;  // kModule and kRaidDisk (a member or hot spare)
  PhysDiskModel* disk = nullptr;  // kRaidDisk
  VolumeModel* volume = nullptr;  // kVolume
};
// Only modules on the bus are found; a module the RAID configuration holds
// is a kRaidDisk, which the host does not see as a target of its own.
DeviceRef FindDevice(AdapterModel& adapter, uint16_t devHandle);
// The volume presents a SCSI target: enabled, active, neither missing nor failed.
bool VolumeHasTarget(const VolumeModel& volume);

// The driver's bus/target table: the explicit rows of `busTargets` first,
// then every attached module (bus 0, target = slot) and every volume
// (bus 1, target = its index).
std::vector<BusTargetEntry> DriverTargets(const AdapterModel& adapter);

}  // namespace emu
