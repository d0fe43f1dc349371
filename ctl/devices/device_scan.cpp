// The device scan: one device record for each SCSI target the adapter shows
// the host. RAID member disks are left out (the host sees them only through
// their volume); a usable volume gets the record of the target it presents.
#include "ctl/base/byte_order.h"
#include "ctl/base/handle_walk.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/devices/device_scan.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/pages/sas_device_page0.h"

namespace {

constexpr uint32_t kUnmapped = 0xFFFFFFFF;

// Whether the DevHandle is a path of a RAID physical disk: the disk's own
// DevHandle in page 0, or one of the paths of its page 1. 17 when a page
// buffer cannot be had.
LibStatus IsRaidPhysDisk(LibContext* context, const LibHandle* adapter, uint16_t devHandle, bool* member) {
  *member = false;
  HandleWalk walk(raid_phys_disk_page0::kWalkStart, kLowestNumber, kHighestNumber);
  for (;;) {
    uint8_t page[raid_phys_disk_page0::kSize] = {};
    uint32_t size = sizeof(page);
    if (ConfigPageReadCore(context, adapter, walk.cursor(), kPageTypeRaidPhysDisk, 0, 0, kReadCurrent, page,
                           &size) != kLibOk) {
      return kLibOk;
    }
    // A disk whose page names the device holds it, even on the page whose
    // number ends the walk: a RAID disk is never taken for a bare one.
    if (GetLe16(page, raid_phys_disk_page0::kDevHandle) == devHandle) {
      *member = true;
      return kLibOk;
    }
    uint8_t diskNumber = Get8(page, raid_phys_disk_page0::kDiskNumber);
    if (!walk.Take(diskNumber)) return kLibOk;
    PageCopy paths(context);
    LibStatus status = paths.Read(adapter, kPageAddressForm1 | diskNumber, kPageTypeRaidPhysDisk, 1, 0,
                                  kReadCurrent);
    if (status == kLibNoMemory) return kLibBufferTooSmall;
    if (status == kLibOk && paths.Holds(raid_phys_disk_page1::kPathCount, 1)) {
      // The path count is the page's word: only entries inside the page count.
      uint32_t count = Get8(paths.data(), raid_phys_disk_page1::kPathCount);
      for (uint32_t i = 0; i < count; ++i) {
        size_t at = raid_phys_disk_page1::kPaths + i * raid_phys_disk_page1::kPathSize;
        if (!paths.Holds(static_cast<uint32_t>(at + raid_phys_disk_page1::kPathDevHandle), 2)) break;
        if (GetLe16(paths.data(), at + raid_phys_disk_page1::kPathDevHandle) == devHandle) {
          *member = true;
          return kLibOk;
        }
      }
    }
  }
}

// Appends, names and identifies the device record of a target. A target
// whose identification fails is dropped again; *identified tells how that
// went.
LibStatus AddTarget(LibContext* context, AdapterRecord* adapter, uint16_t devHandle, LibStatus* identified) {
  *identified = kLibFailure;
  LibHandle adapterHandle = adapter->header.handle;
  uint32_t bus = kUnmapped;
  uint32_t target = kUnmapped;
  uint16_t handle = devHandle;
  LibStatus status = MapBusTargetHandle(context, &adapterHandle, &bus, &target, &handle);
  if (status != kLibOk) return status;
  DeviceRecord* device = nullptr;
  status = AddDeviceRecord(context, &device, &adapterHandle);
  if (status != kLibOk) return status;
  device->bus = bus;
  device->target = target;
  device->lun = 0;
  AssignObjectHandle(context, &device->header, kKindWordDevice, IocNumber(adapter), 0, 0, 0);
  uint8_t* block = device->info.bytes;
  PutLe32(block, device_info::kHandle, device->header.handle);
  SetDeviceDevHandle(device, devHandle);
  PutLe32(block, device_info::kBus, bus);
  PutLe32(block, device_info::kTarget, target);
  Put8(block, device_info::kLun, 0);
  *identified = IdentifyDevice(context, device, adapter);
  if (*identified != kLibOk) {
    LibHandle deviceHandle = device->header.handle;
    RemoveDeviceRecord(context, &deviceHandle);
    return kLibOk;
  }
  device->identified = 1;
  return kLibOk;
}

LibStatus WalkSasDevices(LibContext* context, AdapterRecord* adapter) {
  LibHandle adapterHandle = adapter->header.handle;
  // A page that names a handle already passed, 0 or one beyond the
  // controller's own maximum would send the walk round again: it ends there
  // with the devices found so far, none of them twice.
  HandleWalk walk(sas_device_page0::kWalkStart, kLowestDevHandle,
                  IocFactsMaxDevHandle(adapter->iocFacts, sizeof(adapter->iocFacts)));
  for (;;) {
    uint8_t page[sas_device_page0::kSize] = {};
    uint32_t size = sizeof(page);
    LibStatus status = ConfigPageReadCore(context, &adapterHandle, walk.cursor(), kPageTypeExtended, 0,
                                          kExtPageSasDevice, kReadCurrent, page, &size);
    if (status == kLibPageNotPresent) return kLibOk;
    if (status != kLibOk) return status;
    uint16_t devHandle = GetLe16(page, sas_device_page0::kDevHandle);
    if (!walk.Take(devHandle)) return kLibOk;
    uint32_t info = GetLe32(page, sas_device_page0::kDeviceInfo);
    bool target = (info & sas_device_page0::kInfoTargetBits) != 0;
    bool blocked = Get8(page, sas_device_page0::kAccessStatus) == sas_device_page0::kAccessBlocked;
    bool member = false;
    if (target && !blocked && adapter->raidCapable) {
      status = IsRaidPhysDisk(context, &adapterHandle, devHandle, &member);
      if (status != kLibOk) return status;
    }
    if (target && !blocked && !member) {
      LibStatus identified = kLibOk;  // a device that cannot be identified is left out
      status = AddTarget(context, adapter, devHandle, &identified);
      if (status != kLibOk) return status;
    }
  }
}

// The targets of the usable volumes of the active RAID configuration.
LibStatus AddVolumeTargets(LibContext* context, AdapterRecord* adapter) {
  LibHandle adapterHandle = adapter->header.handle;
  PageCopy config(context);
  LibStatus status = config.Read(&adapterHandle, raid_config_page0::kActiveConfiguration, kPageTypeExtended, 0,
                                 kExtPageRaidConfig, kReadCurrent);
  // A card without a volume has no configuration: its bare modules stand.
  if (status == kLibPageNotPresent) return kLibOk;
  if (status == kLibNoMemory) return kLibBufferTooSmall;
  if (status != kLibOk) return status;
  if (!config.Holds(raid_config_page0::kElementCount, 1)) return kLibOk;
  uint32_t count = Get8(config.data(), raid_config_page0::kElementCount);
  uint32_t maxDevHandle = IocFactsMaxDevHandle(adapter->iocFacts, sizeof(adapter->iocFacts));
  for (uint32_t i = 0; i < count; ++i) {
    size_t at = raid_config_page0::kElements + i * raid_config_page0::kElementSize;
    // The element count is the page's word: only elements inside the page count.
    if (!config.Holds(static_cast<uint32_t>(at), raid_config_page0::kElementSize)) break;
    uint16_t flags = GetLe16(config.data(), at + raid_config_page0::kElementFlags);
    if ((flags & raid_config_page0::kElementTypeMask) != raid_config_page0::kElementVolume) continue;
    uint16_t volumeHandle = GetLe16(config.data(), at + raid_config_page0::kElementDevHandle);
    // A DevHandle outside the controller's range names no volume; a volume
    // the configuration names again presents no second target.
    if (volumeHandle < kLowestDevHandle || volumeHandle > maxDevHandle) continue;
    if (FindDeviceByDevHandle(context, &adapterHandle, nullptr, volumeHandle) == kLibOk) continue;
    uint8_t volume[raid_volume_page0::kHeadSize] = {};
    uint32_t size = sizeof(volume);
    status = ConfigPageReadCore(context, &adapterHandle, kPageAddressForm1 | volumeHandle, kPageTypeRaidVolume, 0,
                                0, kReadCurrent, volume, &size);
    if (status == kLibPageNotPresent) return kLibOk;
    if (status != kLibOk) return status;
    // A page that answers another DevHandle (or 0) for the volume cannot be
    // trusted with it: no target is named after it.
    if (GetLe16(volume, raid_volume_page0::kDevHandle) != volumeHandle) continue;
    uint8_t state = Get8(volume, raid_volume_page0::kVolumeState);
    if (state == raid_volume_page0::kStateMissing || state == raid_volume_page0::kStateFailed) continue;
    LibStatus identified = kLibOk;
    status = AddTarget(context, adapter, volumeHandle, &identified);
    if (status != kLibOk) return status;
    if (identified != kLibOk) return identified;
  }
  return kLibOk;
}

}  // namespace

LibStatus ScanSasDevices(LibContext* context, const LibHandle* adapter) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  status = WalkSasDevices(context, a);
  if (status != kLibOk || !a->raidCapable) return status;
  return AddVolumeTargets(context, a);
}
