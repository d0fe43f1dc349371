// The RAID pages generated from the RAID state: the volumes (pages 0 and 1),
// the physical disks (pages 0 and 1: the disk and its path) and the active
// configuration, which lists the volumes, their members and the hot spares.
#include "emu/raid/device_rules.h"
#include "emu/pages/generated_pages.h"
#include "emu/host/le_bytes.h"
#include "emu/pages/page_builder.h"
#include "emu/pages/raid_page_layouts.h"
#include "emu/modules/scsi_identity.h"

namespace emu {
namespace {

using namespace pages;

constexpr uint16_t kNoHandle = 0xFFFF;

// The DevHandle by which the controller reaches the disk (none when its
// module is off the bus).
uint16_t DiskHandle(const AdapterModel& adapter, const PhysDiskModel& disk) {
  const ModuleModel* module = adapter.FindModule(disk.slot);
  return module != nullptr && ModuleAttached(adapter, *module) ? module->devHandle : kNoHandle;
}

std::vector<uint8_t> VolumePage0(const AdapterModel& adapter, const VolumeModel& v) {
  namespace p = raid_volume0;
  std::vector<uint8_t> page =
      NewPage(kPageRaidVolume, 0, p::kVersion, p::Bytes(static_cast<uint32_t>(v.members.size())));
  RaidLimits limits = ReadRaidLimits(adapter);
  int index = LimitIndex(v.type);
  le::Put16(&page, p::kDevHandle, v.pageDevHandle >= 0 ? static_cast<uint16_t>(v.pageDevHandle) : v.devHandle);
  le::Put8(&page, p::kState, v.state);
  le::Put8(&page, p::kType, v.type);
  le::Put32(&page, p::kStatusFlags, v.statusFlags);
  le::Put16(&page, p::kSettings, v.settings);
  le::Put8(&page, p::kHotSparePool, v.hotSparePool);
  le::Put64(&page, p::kMaxLba, v.maxLba);
  le::Put32(&page, p::kStripeSize, v.stripeSize);
  le::Put16(&page, p::kBlockSize, 512);
  le::Put8(&page, p::kSupportedDisks, index < 0 ? 0 : limits.maxDrives[index]);
  le::Put8(&page, p::kResyncRate, v.resyncRate);
  le::Put16(&page, p::kScrubDuration, v.scrubDuration);
  le::Put8(&page, p::kNumDisks, static_cast<uint8_t>(v.members.size()));
  le::Put8(&page, p::kInactiveStatus, v.inactiveStatus);
  for (size_t i = 0; i < v.members.size(); ++i) {
    uint32_t at = p::kMembers + static_cast<uint32_t>(i) * p::kMemberBytes;
    le::Put8(&page, at + p::kMemberRaidSet, v.members[i].raidSet);
    le::Put8(&page, at + p::kMemberMap, v.members[i].map);
    le::Put8(&page, at + p::kMemberDisk, v.members[i].disk);
  }
  return page;
}

std::vector<uint8_t> VolumePage1(const VolumeModel& v) {
  namespace p = raid_volume1;
  std::vector<uint8_t> page = NewPage(kPageRaidVolume, 1, p::kVersion, p::kBytes);
  le::Put16(&page, p::kDevHandle, v.devHandle);
  for (size_t i = 0; i < p::kGuidBytes && i < v.guid.size(); ++i) page[p::kGuid + i] = v.guid[i];
  le::PutText(&page, p::kName, p::kNameBytes, v.name);
  le::Put64(&page, p::kWwid, v.wwid);
  return page;
}

std::vector<uint8_t> DiskPage0(const AdapterModel& adapter, const PhysDiskModel& d) {
  namespace p = raid_disk0;
  std::vector<uint8_t> page = NewPage(kPageRaidPhysDisk, 0, p::kVersion, p::kBytes);
  le::Put16(&page, p::kDevHandle, DiskHandle(adapter, d));
  le::Put8(&page, p::kNumber, d.pageNumber >= 0 ? static_cast<uint8_t>(d.pageNumber) : d.number);
  le::Put8(&page, p::kHotSparePool, d.hotSparePool);
  le::Put8(&page, p::kState, d.state);
  le::Put8(&page, p::kOfflineReason, d.offlineReason);
  le::Put8(&page, p::kIncompatibleReason, d.incompatibleReason);
  le::Put32(&page, p::kStatusFlags, d.statusFlags);
  // The identity the controller keeps of the disk, also while it is away.
  if (const ModuleModel* m = adapter.FindModule(d.slot)) {
    le::PutText(&page, p::kVendor, p::kVendorBytes, Padded(ModuleVendor(*m), p::kVendorBytes));
    le::PutText(&page, p::kProduct, p::kProductBytes, ModuleProduct(*m));
    le::PutText(&page, p::kRevision, p::kRevisionBytes, ModuleRevision(*m));
    le::PutText(&page, p::kSerial, p::kSerialBytes, Padded(m->serial, p::kSerialBytes));
    le::Put8(&page, p::kAttributes, p::kAttributesSataSsd);
    MemberLbas lbas = MemberMaxLbas(adapter, *m);
    le::Put64(&page, p::kDeviceMaxLba, lbas.device);
    le::Put64(&page, p::kHostMaxLba, lbas.host);
    le::Put64(&page, p::kCoercedMaxLba, lbas.coerced);
    le::Put16(&page, p::kBlockSize, static_cast<uint16_t>(m->blockLength));
  }
  return page;
}

// One path entry always: its slot tells where an offline or missing disk
// sits; the path count says whether the path is live.
std::vector<uint8_t> DiskPage1(const AdapterModel& adapter, const PhysDiskModel& d) {
  namespace p = raid_disk1;
  std::vector<uint8_t> page = NewPage(kPageRaidPhysDisk, 1, p::kVersion, p::Bytes(1));
  uint16_t handle = DiskHandle(adapter, d);
  const ModuleModel* m = adapter.FindModule(d.slot);
  le::Put8(&page, p::kNumPaths, handle == kNoHandle ? 0 : 1);
  le::Put8(&page, p::kNumber, d.number);
  le::Put16(&page, p::kPaths + p::kPathDevHandle, handle);
  le::Put16(&page, p::kPaths + p::kPathEnclosureHandle, kEnclosureHandle);
  le::Put16(&page, p::kPaths + p::kPathFlags, handle == kNoHandle ? 0 : 1);
  le::Put64(&page, p::kPaths + p::kPathSasAddress, m != nullptr ? m->sasAddress : 0);
  le::Put16(&page, p::kPaths + p::kPathSlot, d.slot);
  le::Put8(&page, p::kPaths + p::kPathPhy, d.slot);
  return page;
}

std::vector<uint8_t> ConfigPage0(const AdapterModel& adapter) {
  namespace p = raid_config0;
  const RaidModel& raid = adapter.raid;
  struct Element {
    uint16_t flags, volume;
    uint8_t pool, disk;
    uint16_t diskHandle;
  };
  std::vector<Element> elements;
  for (const VolumeModel& v : raid.volumes) {
    elements.push_back({p::kElementIsVolume, v.devHandle, 0, 0, 0});
    for (const VolumeMember& m : v.members) {
      const PhysDiskModel* d = raid.FindDisk(m.disk);
      elements.push_back({p::kElementIsMember, v.devHandle, 0, m.disk,
                          d != nullptr ? DiskHandle(adapter, *d) : kNoHandle});
    }
  }
  uint8_t hotSpares = 0;
  for (const PhysDiskModel& d : raid.disks) {
    if (raid.VolumeOfDisk(d.number) != nullptr) continue;
    ++hotSpares;
    elements.push_back({p::kElementIsHotSpare, 0, d.hotSparePool, d.number, DiskHandle(adapter, d)});
  }
  std::vector<uint8_t> page =
      NewExtPage(kExtRaidConfig, 0, p::kVersion, p::Bytes(static_cast<uint32_t>(elements.size())));
  le::Put8(&page, p::kNumHotSpares, hotSpares);
  le::Put8(&page, p::kNumDisks, static_cast<uint8_t>(raid.disks.size()));
  le::Put8(&page, p::kNumVolumes, static_cast<uint8_t>(raid.volumes.size()));
  le::Put8(&page, p::kConfigNumber, p::kActiveConfig);
  if (!raid.volumes.empty()) {
    const std::vector<uint8_t>& guid = raid.volumes.front().guid;
    for (size_t i = 0; i < 24 && i < guid.size(); ++i) page[p::kConfigGuid + i] = guid[i];
  }
  le::Put8(&page, p::kNumElements, static_cast<uint8_t>(elements.size()));
  for (size_t i = 0; i < elements.size(); ++i) {
    uint32_t at = p::kElements + static_cast<uint32_t>(i) * p::kElementBytes;
    le::Put16(&page, at + p::kElementFlags, elements[i].flags);
    le::Put16(&page, at + p::kElementVolume, elements[i].volume);
    le::Put8(&page, at + p::kElementHotSparePool, elements[i].pool);
    le::Put8(&page, at + p::kElementDisk, elements[i].disk);
    le::Put16(&page, at + p::kElementDiskHandle, elements[i].diskHandle);
  }
  return page;
}

}  // namespace

void GenerateRaidVolumePages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number > 1) return;
  for (const VolumeModel& v : adapter.raid.volumes) {
    (*pages)[v.devHandle] = number == 0 ? VolumePage0(adapter, v) : VolumePage1(v);
  }
}

void GenerateRaidDiskPages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number > 1) return;
  for (const PhysDiskModel& d : adapter.raid.disks) {
    (*pages)[d.number] = number == 0 ? DiskPage0(adapter, d) : DiskPage1(adapter, d);
  }
}

void GenerateRaidConfigPages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number != 0 || (adapter.raid.volumes.empty() && adapter.raid.disks.empty())) return;
  (*pages)[raid_config0::kActiveConfig] = ConfigPage0(adapter);
}

}  // namespace emu
