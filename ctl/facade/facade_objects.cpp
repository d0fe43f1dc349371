#include "ctl/devices/device_scan.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/facade/facade_context.h"
#include "ctl/objects/object_tree.h"
#include "ctl/facade/qmx.h"
#include "ctl/raid/raid_scan.h"

LibStatus QmxGetDeviceCount(const LibHandle* adapter, uint32_t* count) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  LibStatus status = FindAdapter(context, adapter, nullptr);
  if (status != kLibOk) return status;
  return CountDevices(context, adapter, count);
}

LibStatus QmxGetDeviceInfo(uint32_t index, const LibHandle* adapter, const LibHandle* device,
                           DeviceInfoBlock* info, uint32_t* size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return GetDeviceInfo(context, index, adapter, device, info, size != nullptr ? *size : 0);
}

LibStatus QmxBusTargetToDevHandle(const LibHandle* adapter, uint16_t* devHandle, uint32_t bus, uint32_t target) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  if (devHandle == nullptr) return kLibBadParameter;
  *devHandle = 0xFFFF;
  return MapBusTargetHandle(context, adapter, &bus, &target, devHandle);
}

LibStatus QmxDevHandleToBusTarget(const LibHandle* adapter, const uint16_t* devHandle, uint32_t* bus,
                                  uint32_t* target) {
  uint32_t foundBus = 0xFFFFFFFF;
  uint32_t foundTarget = 0xFFFFFFFF;
  LibStatus status = kLibFailure;
  LibContext* context = BoundContext();
  if (context == nullptr) {
    status = kLibFailure;
  } else if (devHandle == nullptr) {
    status = kLibBadParameter;
  } else {
    uint16_t handle = *devHandle;
    status = MapBusTargetHandle(context, adapter, &foundBus, &foundTarget, &handle);
    if (status != kLibOk) foundBus = foundTarget = 0xFFFFFFFF;
  }
  if (bus != nullptr) *bus = foundBus;
  if (target != nullptr) *target = foundTarget;
  return status;
}

LibStatus QmxCountVolumes(const LibHandle* adapter, uint32_t* count) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return CountVolumes(context, adapter, count);
}

LibStatus QmxCountHotSpares(const LibHandle* adapter, uint32_t* count) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return CountHotSpares(context, adapter, count);
}

LibStatus QmxCountMemberDisks(const LibHandle* volume, uint32_t* count) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return CountMemberDisks(context, volume, count);
}

LibStatus QmxGetVolumeInfo(const LibHandle* volume, uint32_t index, const LibHandle* adapter, uint32_t byIndex,
                           VolumeInfo* info, uint32_t* size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return GetVolumeInfo(context, volume, index, adapter, byIndex, info, size);
}

LibStatus QmxGetMemberDiskInfo(const LibHandle* disk, uint32_t memberIndex, const LibHandle* volume,
                               uint32_t byIndex, PhysDiskInfo* info, uint32_t* size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return GetPhysDiskInfo(context, disk, memberIndex, volume, byIndex, info, size);
}

LibStatus QmxGetHotSpareInfo(const LibHandle* disk, uint32_t index, const LibHandle* adapter, uint32_t byIndex,
                             PhysDiskInfo* info, uint32_t* size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  if (byIndex) return GetHotSpareInfo(context, index, adapter, info, size);
  return GetPhysDiskInfo(context, disk, 0, nullptr, 0, info, size);
}
