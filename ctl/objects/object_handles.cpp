#include "ctl/base/byte_order.h"
#include "ctl/objects/object_tree.h"

LibStatus AssignObjectHandle(LibContext* context, ObjectHeader* header, uint32_t kindWord,
                             uint32_t location0, uint32_t location1, uint32_t location2,
                             uint8_t locationByte) {
  header->handle = (kindWord & kHandleKindMask) + context->handleCounter;
  ++context->handleCounter;
  header->handleCopy = header->handle;
  header->kind = (kindWord & ~0x00000101u) | 0x1u;
  header->location[0] = location0;
  header->location[1] = location1;
  header->location[2] = location2;
  header->locationByte = locationByte;
  return kLibOk;
}

uint16_t DeviceDevHandle(const DeviceRecord* device) {
  return GetLe16(device->info.bytes, device_info::kDevHandle);
}

void SetDeviceDevHandle(DeviceRecord* device, uint16_t devHandle) {
  PutLe16(device->info.bytes, device_info::kDevHandle, devHandle);
}

LibHandle DeviceVolumeHandle(const DeviceRecord* device) {
  return GetLe32(device->info.bytes, device_info::kVolumeHandle);
}

void SetDeviceVolumeHandle(DeviceRecord* device, LibHandle volume) {
  PutLe32(device->info.bytes, device_info::kVolumeHandle, volume);
}

uint16_t PhysDiskDevHandle(const PhysDiskRecord* disk) { return disk->devHandle; }

void SetPhysDiskDevHandle(PhysDiskRecord* disk, uint16_t devHandle) {
  disk->devHandle = devHandle;
  PutLe16(disk->info.bytes, phys_disk_info::kSummaryDevHandle, devHandle);
}

uint8_t PhysDiskNumber(const PhysDiskRecord* disk) { return Get8(disk->info.bytes, phys_disk_info::kDiskNumber); }

LibStatus DeviceRecordHook(DeviceRecord*) { return kLibOk; }
