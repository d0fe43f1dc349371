#include "ctl/config_pages/config_pages.h"
#include "ctl/base/byte_order.h"
#include "ctl/base/handle_walk.h"
#include "ctl/devices/device_scan.h"
#include "ctl/discovery/discovery.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/raid/raid_scan.h"

namespace {

// Whether a RAID physical disk page 0 names the DevHandle. The walk runs by
// "next disk after this number" until a read fails or a number does not move
// forward; the page that ends it still counts.
bool IsRaidMember(LibContext* context, const LibHandle* adapter, uint16_t devHandle) {
  HandleWalk walk(raid_phys_disk_page0::kWalkStart, kLowestNumber, kHighestNumber);
  for (;;) {
    uint8_t page[raid_phys_disk_page0::kSize] = {};
    uint32_t size = sizeof(page);
    if (ConfigPageReadCore(context, adapter, walk.cursor(), kPageTypeRaidPhysDisk, 0, 0, kReadCurrent, page,
                           &size) != kLibOk) {
      return false;
    }
    if (GetLe16(page, raid_phys_disk_page0::kDevHandle) == devHandle) return true;
    if (!walk.Take(Get8(page, raid_phys_disk_page0::kDiskNumber))) return false;
  }
}

// RAID member disks are seen by the host only through their volume: drop
// the device records that stand for one.
void RemoveMemberDevices(LibContext* context, AdapterRecord* adapter) {
  LibHandle adapterHandle = adapter->header.handle;
  for (DeviceRecord* d = adapter->devices; d != nullptr;) {
    DeviceRecord* next = d->next;
    if (IsRaidMember(context, &adapterHandle, DeviceDevHandle(d))) {
      LibHandle deviceHandle = d->header.handle;
      RemoveDeviceRecord(context, &deviceHandle);
    }
    d = next;
  }
}

}  // namespace

LibStatus RefreshAdapter(LibContext* context, const LibHandle* adapter) {
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  if (!(context->discoveryFlags & kDiscoverSkipDeviceScan)) status = ScanSasDevices(context, adapter);
  if (status == kLibOk && !(context->discoveryFlags & kDiscoverSkipRaidScan) && record->raidCapable) {
    status = ScanRaidConfig(context, adapter);
  }
  if (status == kLibOk && record->raidCapable) RemoveMemberDevices(context, record);
  return status;
}

LibStatus RefreshAdapterObjects(LibContext* context, const LibHandle* adapter) {
  LibStatus status = ClearAdapterObjects(context, adapter);
  if (status != kLibOk) return status;
  return RefreshAdapter(context, adapter);
}
