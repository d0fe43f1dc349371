// The RAID scan: the adapter's volumes with their member disks, then its
// hot spares, as volume and physical-disk objects of the object tree.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/base/handle_walk.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/raid/raid_scan.h"

namespace {

constexpr uint32_t kUnmapped = 0xFFFFFFFF;

bool VolumeIsLive(uint8_t state, uint32_t flags) {
  return !(flags & raid_volume_page0::kStatusInactive) && state != raid_volume_page0::kStateMissing &&
         state != raid_volume_page0::kStateFailed && (flags & raid_volume_page0::kStatusEnabled);
}

// Reads the disk's page 0 into the record and fills its information in place.
LibStatus FillDisk(LibContext* context, PhysDiskRecord* disk) {
  LibHandle handle = disk->header.handle;
  uint32_t size = kPhysDiskInfoSize;
  return GetPhysDiskInfo(context, &handle, 0, nullptr, 0, &disk->info, &size);
}

// One member of a volume: page 0 of its disk number, its object, its handle
// and its information. A member whose information cannot be read stays in
// the list with what it has; the status tells only of the page, the object
// and the handle.
LibStatus AddMember(LibContext* context, AdapterRecord* adapter, VolumeRecord* volume, const uint8_t* entry) {
  LibHandle adapterHandle = adapter->header.handle;
  uint8_t number = entry[raid_volume_page0::kMemberDiskNumber];
  uint8_t page[raid_phys_disk_page0::kSize] = {};
  uint32_t size = sizeof(page);
  LibStatus status = ConfigPageReadCore(context, &adapterHandle, kPageAddressForm1 | number, kPageTypeRaidPhysDisk,
                                        0, 0, kReadCurrent, page, &size);
  if (status != kLibOk) return status;
  PhysDiskRecord* disk = nullptr;
  LibHandle volumeHandle = volume->header.handle;
  status = AddMemberDiskRecord(context, &disk, &volumeHandle);
  if (status != kLibOk) return status;
  std::memcpy(disk->page0, page, sizeof(page));
  SetPhysDiskDevHandle(disk, GetLe16(page, raid_phys_disk_page0::kDevHandle));
  status = AssignObjectHandle(context, &disk->header, kKindWordPhysDisk, IocNumber(adapter), volume->header.location[1],
                              volume->header.location[2], 0);
  PutLe32(disk->info.bytes, phys_disk_info::kHandle, disk->header.handle);
  Put8(disk->info.bytes, phys_disk_info::kDiskNumber, number);
  Put8(disk->info.bytes, phys_disk_info::kMemberMap, entry[raid_volume_page0::kMemberMap]);
  if (FillDisk(context, disk) == kLibOk) {
    PutLe32(disk->info.bytes, phys_disk_info::kBus, GetLe32(disk->info.bytes, phys_disk_info::kOwnBus));
    PutLe32(disk->info.bytes, phys_disk_info::kTarget, GetLe32(disk->info.bytes, phys_disk_info::kOwnTarget));
    Put8(disk->info.bytes, phys_disk_info::kMemberMap, entry[raid_volume_page0::kMemberMap]);
    Put8(disk->info.bytes, phys_disk_info::kRaidSet, entry[raid_volume_page0::kMemberRaidSet]);
  }
  return status;
}

// One volume from its page 0: the object, its location and handle, the
// device that presents it, and its members.
LibStatus AddVolume(LibContext* context, AdapterRecord* adapter, const PageCopy& page) {
  LibHandle adapterHandle = adapter->header.handle;
  const uint8_t* p = page.data();
  VolumeRecord* volume = nullptr;
  LibStatus status = AddVolumeRecord(context, &volume, &adapterHandle);
  if (status != kLibOk) return status;
  uint16_t devHandle = GetLe16(p, raid_volume_page0::kDevHandle);
  uint32_t flags = GetLe32(p, raid_volume_page0::kStatusFlags);
  uint8_t state = Get8(p, raid_volume_page0::kVolumeState);
  uint32_t bus = 0;
  uint32_t target = 0;
  if (!(flags & raid_volume_page0::kStatusInactive)) {
    bus = target = kUnmapped;
    uint16_t handle = devHandle;
    status = MapBusTargetHandle(context, &adapterHandle, &bus, &target, &handle);
    if (status != kLibOk) return status;
  }
  volume->devHandle = devHandle;
  volume->raidType = Get8(p, raid_volume_page0::kVolumeType);
  AssignObjectHandle(context, &volume->header, kKindWordVolume, IocNumber(adapter), bus, target, 0);

  if (VolumeIsLive(state, flags)) {
    DeviceRecord* device = nullptr;
    status = FindDeviceByDevHandle(context, &adapterHandle, &device, devHandle);
    if (status != kLibOk) return status;
    device->peripheralType = inquiry_data::kTypeVolumeTarget;
    SetDeviceVolumeHandle(device, volume->header.handle);
  }
  volume->hotSparePool = Get8(p, raid_volume_page0::kHotSparePool);

  // The member count is the page's word: only entries inside the page count.
  uint32_t count = page.Holds(raid_volume_page0::kMemberCount, 1) ? Get8(p, raid_volume_page0::kMemberCount) : 0;
  LibStatus last = kLibOk;
  for (uint32_t i = 0; i < count; ++i) {
    size_t entry = raid_volume_page0::kMembers + i * raid_volume_page0::kMemberSize;
    if (!page.Holds(static_cast<uint32_t>(entry), raid_volume_page0::kMemberSize)) break;
    last = AddMember(context, adapter, volume, p + entry);
  }
  return last;
}

LibStatus WalkVolumes(LibContext* context, AdapterRecord* adapter) {
  LibHandle adapterHandle = adapter->header.handle;
  // The walk ends at a page that names a DevHandle already passed, 0 or one
  // beyond the controller's maximum, and at a page beyond the most volumes
  // the controller keeps: what it found stands, no volume twice.
  HandleWalk walk(raid_volume_page0::kWalkStart, kLowestDevHandle,
                  IocFactsMaxDevHandle(adapter->iocFacts, sizeof(adapter->iocFacts)),
                  IocFactsMaxVolumes(adapter->iocFacts, sizeof(adapter->iocFacts)));
  for (;;) {
    // Each volume's page is read at its own size.
    PageCopy page(context);
    LibStatus status = page.Read(&adapterHandle, walk.cursor(), kPageTypeRaidVolume, 0, 0, kReadCurrent);
    if (status == kLibPageNotPresent) return kLibOk;
    if (status != kLibOk) return status;
    if (!page.Holds(0, raid_volume_page0::kMembers)) return kLibFailure;
    if (!walk.Take(GetLe16(page.data(), raid_volume_page0::kDevHandle))) return kLibOk;
    status = AddVolume(context, adapter, page);
    if (status != kLibOk) return status;
  }
}

// Whether a volume of the adapter has the disk among its members: a member
// whose page says hot spare is still the volume's, and listed once.
bool IsVolumeMember(const AdapterRecord* adapter, uint8_t number) {
  for (const VolumeRecord* v = adapter->volumes; v != nullptr; v = v->next) {
    for (const PhysDiskRecord* m = v->members; m != nullptr; m = m->next) {
      if (Get8(m->info.bytes, phys_disk_info::kDiskNumber) == number) return true;
    }
  }
  return false;
}

LibStatus WalkHotSpares(LibContext* context, AdapterRecord* adapter) {
  LibHandle adapterHandle = adapter->header.handle;
  // A page whose disk number does not move forward ends the walk with the
  // hot spares found, none twice.
  HandleWalk walk(raid_phys_disk_page0::kWalkStart, kLowestNumber, kHighestNumber);
  for (;;) {
    uint8_t page[raid_phys_disk_page0::kSize] = {};
    uint32_t size = sizeof(page);
    LibStatus status = ConfigPageReadCore(context, &adapterHandle, walk.cursor(), kPageTypeRaidPhysDisk, 0, 0,
                                          kReadCurrent, page, &size);
    if (status == kLibPageNotPresent) return kLibOk;
    if (status != kLibOk) return status;
    uint8_t number = Get8(page, raid_phys_disk_page0::kDiskNumber);
    if (!walk.Take(number)) return kLibOk;
    if (Get8(page, raid_phys_disk_page0::kDiskState) == kDiskStateHotSpare && !IsVolumeMember(adapter, number)) {
      PhysDiskRecord* disk = nullptr;
      status = AddHotSpareRecord(context, &disk, &adapterHandle);
      if (status != kLibOk) return status;
      std::memcpy(disk->page0, page, sizeof(page));
      SetPhysDiskDevHandle(disk, GetLe16(page, raid_phys_disk_page0::kDevHandle));
      Put8(disk->info.bytes, phys_disk_info::kDiskNumber, number);
      AssignObjectHandle(context, &disk->header, kKindWordPhysDisk, IocNumber(adapter), 0, 0, 0);
      PutLe32(disk->info.bytes, phys_disk_info::kHandle, disk->header.handle);
      status = FillDisk(context, disk);
      if (status != kLibOk) return status;
    }
  }
}

}  // namespace

LibStatus ScanRaidConfig(LibContext* context, const LibHandle* adapter) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  status = WalkVolumes(context, a);
  if (status != kLibOk) return status;
  return WalkHotSpares(context, a);
}
