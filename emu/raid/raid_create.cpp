// RAID ACTION 2 (create volume) and 35 (compatibility check): what the
// controller accepts as members of a new volume.
#include <algorithm>

#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/le_bytes.h"
#include "emu/controller/command_handler.h"
#include "emu/raid/raid_actions.h"

namespace emu {
namespace {

namespace c = qmx::creation;
namespace cc = qmx::compatibility;

bool PowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

uint32_t Log2(uint32_t v) {
  uint32_t n = 0;
  while (v > 1) v >>= 1, ++n;
  return n;
}

uint32_t Attributes(const ModuleModel& m) {
  return (ModuleIsSas(m) ? cc::kAttrSas : cc::kAttrSata) | cc::kAttrSolidState | (m.blockLength == 4096 ? cc::kAttr4kSectors : 0);
}

// The module of a disk or bare device on the bus, or null.
const ModuleModel* ModuleOf(AdapterModel& adapter, uint16_t handle) {
  DeviceRef ref = FindDevice(adapter, handle);
  return ref.kind == DeviceKind::kModule || ref.kind == DeviceKind::kRaidDisk ? ref.module : nullptr;
}

}  // namespace

uint16_t CreateVolume(AdapterModel& adapter, const std::vector<uint8_t>& data,
                      std::vector<uint8_t>* actionData) {
  RaidModel& raid = adapter.raid;
  if (data.size() < c::Bytes(0)) return kIocInvalidField;
  uint32_t count = le::Get8(data, c::kMemberCount);
  uint8_t type = le::Get8(data, c::kType);
  if (count == 0 || data.size() < c::Bytes(count)) return kIocInvalidField;
  RaidLimits limits = ReadRaidLimits(adapter);
  int index = LimitIndex(type);
  if (index < 0 || (limits.capabilities & TypeCapability(type)) == 0) return kIocInvalidField;
  if (count < limits.minDrives[index] || count > limits.maxDrives[index]) return kIocInvalidField;
  if (raid.volumes.size() >= limits.maxVolumes) return kIocInsufficientResources;
  if (raid.disks.size() + count > limits.maxPhysDisks) return kIocInsufficientResources;

  uint32_t flags = le::Get32(data, c::kFlags);
  if ((flags & c::kFlagMigrate) != 0 && type != kRaid1) return kIocInvalidField;
  std::vector<const ModuleModel*> modules;
  std::vector<VolumeMember> members;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t at = c::kMembers + i * c::kMemberBytes;
    uint16_t handle = le::Get16(data, at + c::kMemberDevHandle);
    DeviceRef ref = FindDevice(adapter, handle);
    if (ref.kind == DeviceKind::kRaidDisk) return kIocInvalidState;  // already configured
    if (ref.kind != DeviceKind::kModule) return kIocInvalidField;
    for (const ModuleModel* m : modules) {
      if (m == ref.module || m->blockLength != ref.module->blockLength) return kIocInvalidField;
    }
    modules.push_back(ref.module);
    members.push_back(VolumeMember{0, le::Get8(data, at + c::kMemberMap),
                                   le::Get8(data, at + c::kMemberRaidSet)});
  }

  uint32_t stripe = le::Get32(data, c::kStripeSize);
  if (stripe == 0) stripe = 128;
  if (!PowerOfTwo(stripe) || stripe > 0x80000000u || (limits.stripeSizeMap >> Log2(stripe) & 1) == 0) {
    return kIocInvalidField;
  }
  uint64_t largest = LargestVolumeMaxLba(adapter, type, modules);
  uint64_t maxLba = le::Get64(data, c::kMaxLba);
  if (largest == 0 || maxLba > largest) return kIocInvalidField;
  uint16_t handle = FreeVolumeHandle(adapter);
  if (handle == 0) return kIocInsufficientResources;

  VolumeModel volume;
  volume.devHandle = handle;
  volume.type = type;
  volume.maxLba = maxLba == 0 ? largest : maxLba;
  volume.stripeSize = stripe;
  if ((flags & c::kFlagDefaultSettings) == 0) {
    uint32_t settings = le::Get32(data, c::kSettings);
    volume.settings = static_cast<uint16_t>(settings);
    volume.hotSparePool = static_cast<uint8_t>(settings >> 16);
    volume.resyncRate = le::Get8(data, c::kResyncRate);
    volume.scrubDuration = le::Get16(data, c::kScrubDuration);
  }
  for (uint32_t i = 0; i < c::kNameBytes; ++i) {
    char ch = static_cast<char>(le::Get8(data, c::kName + i));
    if (ch == '\0') break;
    volume.name += ch;
  }
  volume.wwid = VolumeWwid(adapter, handle);
  volume.guid = VolumeGuid(adapter, handle);
  if ((flags & c::kFlagBackgroundInit) != 0 && type != kRaid0) {
    volume.statusFlags |= kVolumeBackgroundInit;
    volume.blocksRemaining = volume.maxLba + 1;
  }
  for (size_t i = 0; i < modules.size(); ++i) {
    PhysDiskModel disk;
    disk.number = raid.FreeDiskNumber();
    disk.slot = modules[i]->slot;
    raid.disks.push_back(disk);
    members[i].disk = disk.number;
    volume.members.push_back(members[i]);
  }
  raid.volumes.push_back(std::move(volume));
  le::Put16(actionData, 0, handle);
  return kIocSuccess;
}

uint16_t CompatibilityCheck(AdapterModel& adapter, const std::vector<uint8_t>& data,
                            std::vector<uint8_t>* actionData) {
  if (data.size() < cc::kFlags + 4) return kIocInvalidField;
  uint16_t sourceHandle = le::Get16(data, cc::kSourceDevHandle);
  uint32_t flags = le::Get32(data, cc::kFlags);
  const ModuleModel* source = nullptr;
  const VolumeModel* volume = nullptr;
  if ((flags & cc::kFlagSourceIsVolume) != 0) {
    volume = adapter.raid.FindVolume(sourceHandle);
    if (volume == nullptr || volume->members.empty()) return kIocInvalidField;
    const PhysDiskModel* first = adapter.raid.FindDisk(volume->members.front().disk);
    source = first == nullptr ? nullptr : adapter.FindModule(first->slot);
  } else {
    source = ModuleOf(adapter, sourceHandle);
  }
  if (source == nullptr) return kIocInvalidField;

  const ModuleModel* reported = source;
  uint8_t state = 0;
  if ((flags & cc::kFlagReportSource) == 0) {
    const ModuleModel* candidate = ModuleOf(adapter, le::Get16(data, cc::kCandidateDevHandle));
    if (candidate == nullptr) return kIocInvalidField;
    bool fits = candidate->blockLength == source->blockLength && Attributes(*candidate) == Attributes(*source);
    if (volume != nullptr) {
      // A disk that is to stand in for a member must hold what a member holds.
      uint64_t perMember = (volume->maxLba + 1) / std::max<size_t>(1, volume->members.size());
      if (volume->type != kRaid0) perMember *= 2;
      fits = fits && MemberMaxLbas(adapter, *candidate).coerced + 1 >= perMember;
    }
    state = fits ? 0 : 1;
    reported = candidate;
  }
  le::Put8(actionData, cc::kState, state);
  le::Put32(actionData, cc::kGenericAttributes, Attributes(*reported));
  le::Put32(actionData, cc::kOemAttributes, reported->oemAttributes);
  return kIocSuccess;
}

}  // namespace emu
