// The controller's and driver's rules over the device and RAID model.
#include "emu/raid/device_rules.h"

#include <algorithm>

#include "emu/pages/default_pages.h"
#include "emu/host/le_bytes.h"
#include "emu/pages/raid_page_layouts.h"
#include "emu/pages/sas_page_layouts.h"
#include "emu/modules/smart_attributes.h"

namespace emu {
namespace {

constexpr uint64_t kModuleSasBase = 0x4433221100000000ull;  // + phy << 24, as the SATA bridge does
constexpr uint64_t kModuleWwnBase = 0x5F0A3B1000000000ull;
constexpr uint64_t kNativeSectors128 = 250069680;            // a 128 GB module
constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint64_t kTrimCountBase = 120000;

std::vector<uint8_t> Range(uint8_t first, uint8_t last) {
  std::vector<uint8_t> slots;
  for (unsigned s = first; s <= last; ++s) slots.push_back(static_cast<uint8_t>(s));
  return slots;
}

}  // namespace

std::vector<uint8_t> PopulatedSlots(uint8_t boardType) {
  switch (boardType) {
    case 1:
    case 2: return {0, 1, 2, 4, 5, 6};
    case 3:
    case 9: return Range(0, 7);
    case 4: return Range(0, 3);
    case 6: return Range(0, 5);
    case 10: return Range(2, 7);
    default: return Range(4, 7);
  }
}

ModuleModel DefaultModule(const AdapterModel& adapter, uint8_t slot, uint16_t devHandle) {
  ModuleModel m;
  m.slot = slot;
  m.devHandle = devHandle;
  m.sasAddress = kModuleSasBase | (static_cast<uint64_t>(slot) << 24);
  m.physicalPort = slot;
  m.model = "ZKM128-SATA6G";
  m.serial = "ZKM2406A010" + std::string(1, static_cast<char>('0' + slot % 10));
  m.firmware = "ZK80512A";
  m.wwn = kModuleWwnBase | ((adapter.sasAddress & 0xFFFFFF) << 8) | slot;
  m.nativeSectors = kNativeSectors128;
  m.maxSectors = kNativeSectors128;
  m.blockLength = 512;
  m.modelType = '0';
  m.configId = "2519";
  m.smart = DefaultSmartAttributes();
  m.trimCount = kTrimCountBase + 1000ull * slot;  // a year of TRIMs, a little more in the later slots
  return m;
}

std::vector<ModuleModel> DefaultModules(const AdapterModel& adapter) {
  std::vector<ModuleModel> modules;
  uint16_t handle = kFirstModuleHandle;
  for (uint8_t slot : PopulatedSlots(adapter.boardType)) {
    modules.push_back(DefaultModule(adapter, slot, handle++));
  }
  return modules;
}

bool CardUnconfigured(const AdapterModel& adapter) {
  return (adapter.boardFlags & 3u) == 1u || adapter.subsystemDeviceId == 0x72;
}

RaidModel DefaultRaid(const AdapterModel& adapter) {
  RaidModel raid;
  if (CardUnconfigured(adapter)) return raid;
  std::vector<const ModuleModel*> members;
  for (const ModuleModel& m : adapter.modules) {
    if (m.state != ModuleState::kMissing) members.push_back(&m);
  }
  if (members.empty()) return raid;
  VolumeModel volume;
  volume.devHandle = FreeVolumeHandle(adapter, raid);
  volume.type = kRaid0;
  volume.maxLba = LargestVolumeMaxLba(adapter, kRaid0, members);
  volume.wwid = VolumeWwid(adapter, volume.devHandle);
  volume.guid = VolumeGuid(adapter, volume.devHandle);
  for (size_t i = 0; i < members.size(); ++i) {
    PhysDiskModel disk;
    disk.number = static_cast<uint8_t>(i);
    disk.slot = members[i]->slot;
    raid.disks.push_back(disk);
    volume.members.push_back(VolumeMember{disk.number, static_cast<uint8_t>(i), 0});
  }
  raid.volumes.push_back(std::move(volume));
  return raid;
}

RaidLimits ReadRaidLimits(const AdapterModel& adapter) {
  namespace p = pages::ioc6;
  const ConfigPage* page = adapter.FindPage(kPageIoc, 6);
  std::vector<uint8_t> bytes = page != nullptr && page->current.size() >= p::kBytes
                                   ? page->current
                                   : IocPage6(adapter);
  RaidLimits limits;
  limits.capabilities = le::Get32(bytes, p::kCapabilities);
  for (int i = 0; i < 4; ++i) {
    limits.maxDrives[i] = le::Get8(bytes, p::kMaxDrives + i);
    limits.minDrives[i] = le::Get8(bytes, p::kMinDrives + i);
  }
  limits.maxHotSpares = le::Get8(bytes, p::kMaxHotSpares);
  limits.maxPhysDisks = le::Get8(bytes, p::kMaxPhysDisks);
  limits.maxVolumes = le::Get8(bytes, p::kMaxVolumes);
  limits.stripeSizeMap = le::Get32(bytes, p::kStripeSizeMap);
  limits.metadataReserveMiB = le::Get16(bytes, p::kMetadataReserve);
  return limits;
}

int LimitIndex(uint8_t type) {
  switch (type) {
    case kRaid0: return 0;
    case kRaid1: return 1;
    case kRaid1e: return 2;
    case kRaid10: return 3;
    default: return -1;
  }
}

uint32_t TypeCapability(uint8_t type) {
  switch (type) {
    case kRaid0: return pages::ioc6::kCapRaid0;
    case kRaid1e: return pages::ioc6::kCapRaid1e;
    case kRaid1: return pages::ioc6::kCapRaid1;
    case kRaid10: return pages::ioc6::kCapRaid10;
    default: return 0;
  }
}

bool PhyDisabled(const AdapterModel& adapter, uint8_t phy) {
  namespace p = pages::sas_io_unit1;
  const ConfigPage* page = adapter.FindPage(kPageExtended, 1, kExtSasIoUnit, 0);
  if (page == nullptr) return false;
  return (le::Get8(page->current, p::kPhyData + phy * p::kPhyBytes + p::kPhyFlags) &
          p::kPhyDisabled) != 0;
}

bool ModuleAttached(const AdapterModel& adapter, const ModuleModel& module) {
  return module.state != ModuleState::kMissing && !PhyDisabled(adapter, module.slot);
}

MemberLbas MemberMaxLbas(const AdapterModel& adapter, const ModuleModel& module) {
  MemberLbas lbas;
  uint64_t blockLength = module.blockLength == 0 ? 512 : module.blockLength;
  if (module.maxSectors == 0) return lbas;
  lbas.device = module.maxSectors - 1;
  uint64_t reserve = ReadRaidLimits(adapter).metadataReserveMiB * kMiB / blockLength;
  lbas.host = lbas.device > reserve ? lbas.device - reserve : 0;
  uint64_t perMiB = std::max<uint64_t>(1, kMiB / blockLength);
  uint64_t whole = (lbas.host + 1) / perMiB * perMiB;
  lbas.coerced = whole == 0 ? 0 : whole - 1;
  return lbas;
}

uint64_t LargestVolumeMaxLba(const AdapterModel& adapter, uint8_t type,
                             const std::vector<const ModuleModel*>& members) {
  if (members.empty()) return 0;
  uint64_t smallest = UINT64_MAX;
  for (const ModuleModel* m : members) {
    MemberLbas lbas = MemberMaxLbas(adapter, *m);
    smallest = std::min(smallest, lbas.coerced == 0 ? 0 : lbas.coerced + 1);
  }
  if (smallest > UINT64_MAX / members.size()) smallest = UINT64_MAX / members.size();  // absurd card files
  uint64_t blocks = smallest * members.size();
  if (type != kRaid0) blocks /= 2;  // mirrored: half the members carry data
  return blocks == 0 ? 0 : blocks - 1;
}

uint64_t VolumeWwid(const AdapterModel& adapter, uint16_t devHandle) {
  return 0x6000000000000000ull | (adapter.sasAddress & 0x0FFFFFFFFFFFF000ull) | (devHandle & 0xFFFu);
}

std::vector<uint8_t> VolumeGuid(const AdapterModel& adapter, uint16_t devHandle) {
  std::vector<uint8_t> guid(pages::raid_volume1::kGuidBytes, 0);
  uint64_t wwid = VolumeWwid(adapter, devHandle);
  for (int i = 0; i < 8; ++i) {
    guid[i] = static_cast<uint8_t>(wwid >> (56 - 8 * i));
    guid[8 + i] = static_cast<uint8_t>(adapter.sasAddress >> (56 - 8 * i));
  }
  guid[16] = static_cast<uint8_t>(devHandle >> 8);
  guid[17] = static_cast<uint8_t>(devHandle);
  const char tag[] = "CVX-IR";
  for (int i = 0; i < 6; ++i) guid[18 + i] = static_cast<uint8_t>(tag[i]);
  return guid;
}

uint16_t FreeVolumeHandle(const AdapterModel& adapter) { return FreeVolumeHandle(adapter, adapter.raid); }

uint16_t FreeVolumeHandle(const AdapterModel& adapter, const RaidModel& raid) {
  uint16_t top = adapter.maxDevHandle == 0 ? 0x0040 : adapter.maxDevHandle;
  for (uint32_t h = top; h >= kFirstModuleHandle; --h) {
    uint16_t handle = static_cast<uint16_t>(h);
    if (raid.FindVolume(handle) == nullptr && adapter.FindModuleByHandle(handle) == nullptr) {
      return handle;
    }
  }
  return 0;
}

void RecomputeVolumeState(const RaidModel& raid, VolumeModel* volume) {
  bool allOptimal = true;
  for (const VolumeMember& m : volume->members) {
    const PhysDiskModel* disk = raid.FindDisk(m.disk);
    allOptimal = allOptimal && disk != nullptr && disk->state == kDiskOptimal;
  }
  if (allOptimal) {
    volume->state = kVolumeOptimal;
  } else {
    volume->state = volume->type == kRaid0 ? kVolumeFailed : kVolumeDegraded;
  }
}

DeviceRef FindDevice(AdapterModel& adapter, uint16_t devHandle) {
  DeviceRef ref;
  if (ModuleModel* module = adapter.FindModuleByHandle(devHandle)) {
    if (!ModuleAttached(adapter, *module)) return ref;
    ref.module = module;
    const PhysDiskModel* disk = adapter.raid.FindDiskBySlot(module->slot);
    ref.disk = disk == nullptr ? nullptr : adapter.raid.FindDisk(disk->number);
    ref.kind = disk == nullptr ? DeviceKind::kModule : DeviceKind::kRaidDisk;
    return ref;
  }
  if (VolumeModel* volume = adapter.raid.FindVolume(devHandle)) {
    ref.kind = DeviceKind::kVolume;
    ref.volume = volume;
  }
  return ref;
}

bool VolumeHasTarget(const VolumeModel& volume) {
  return volume.state != kVolumeMissing && volume.state != kVolumeFailed &&
         (volume.statusFlags & kVolumeEnabled) != 0 && (volume.statusFlags & kVolumeInactive) == 0;
}

std::vector<BusTargetEntry> DriverTargets(const AdapterModel& adapter) {
  std::vector<BusTargetEntry> table = adapter.busTargets;
  auto add = [&](uint16_t handle, uint32_t bus, uint32_t target) {
    for (const BusTargetEntry& e : table) {
      if (e.devHandle == handle || (e.bus == bus && e.target == target)) return;
    }
    table.push_back(BusTargetEntry{handle, bus, target});
  };
  for (const ModuleModel& m : adapter.modules) {
    if (ModuleAttached(adapter, m)) add(m.devHandle, kDeviceBus, m.slot);
  }
  for (size_t i = 0; i < adapter.raid.volumes.size(); ++i) {
    add(adapter.raid.volumes[i].devHandle, kVolumeBus, static_cast<uint32_t>(i));
  }
  return table;
}

}  // namespace emu
