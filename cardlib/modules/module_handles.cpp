// Turning an adapter index into the card's handle and a slot into the
// handle of the module in it.
#include "cardlib/modules/module_handles.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

uint32_t FailWithStatusFetched() {
  IocStatusInfo status{};
  QmxGetLastStatus(&status);
  return 1;
}

// Stage 1: a device of its own (not a volume's target) in the slot.
// 0 found, 1 a read failed, 2 none there.
uint32_t FindBareModule(LibHandle vx, uint32_t slot, uint32_t* ssdHandle) {
  uint32_t devices = 0;
  if (QmxGetDeviceCount(&vx, &devices) != kLibOk) return FailWithStatusFetched();
  for (uint32_t index = 0; index < devices; ++index) {
    DeviceInfoBlock device;
    ZkFill(&device, 0, sizeof(device));
    uint32_t size = sizeof(device);
    if (QmxGetDeviceInfo(index, &vx, nullptr, &device, &size) != kLibOk) return FailWithStatusFetched();
    if (GetLe32(device.bytes, device_info::kVolumeHandle) != 0) continue;
    if (GetLe16(device.bytes, device_info::kSlot) != slot) continue;
    *ssdHandle = GetLe32(device.bytes, device_info::kHandle);
    return 0;
  }
  return 2;
}

// Stage 2: an optimal member of a volume in the slot. 0 found, 1 a read
// failed (the other volumes and members are still looked at), 2 none
// there.
uint32_t FindVolumeMember(LibHandle vx, uint32_t slot, uint32_t* ssdHandle) {
  uint32_t volumes = 0;
  if (QmxCountVolumes(&vx, &volumes) != kLibOk) return FailWithStatusFetched();
  uint32_t result = 2;
  for (uint32_t v = 0; v < volumes; ++v) {
    VolumeInfo volume;
    ZkFill(&volume, 0, sizeof(volume));
    uint32_t size = sizeof(volume);
    if (QmxGetVolumeInfo(nullptr, v, &vx, 1, &volume, &size) != kLibOk) {
      result = 1;
      continue;
    }
    LibHandle volumeHandle = GetLe32(volume.bytes, volume_info::kHandle);
    uint32_t members = Get8(volume.bytes, volume_info::kMemberCount);
    for (uint32_t m = 0; m < members; ++m) {
      PhysDiskInfo disk;
      ZkFill(&disk, 0, sizeof(disk));
      size = sizeof(disk);
      if (GetModuleDiskInfo(&vx, nullptr, m, &volumeHandle, 1, &disk, &size) != 0) {
        result = 1;
        continue;
      }
      if (GetLe16(disk.bytes, phys_disk_info::kSlot) != slot) continue;
      if (GetLe32(disk.bytes, phys_disk_info::kDiskState) != kDiskStateOptimal) continue;
      *ssdHandle = GetLe32(disk.bytes, phys_disk_info::kHandle);
      return 0;
    }
  }
  if (result == 1) FailWithStatusFetched();
  return result;
}

}  // namespace

uint32_t LibZKGetVXHandle(uint32_t adapterIndex, uint32_t* vxHandle) {
  if (vxHandle == nullptr) return 1;
  AdapterInfoBlock adapter;
  ZkFill(&adapter, 0, sizeof(adapter));
  uint32_t size = sizeof(adapter);
  if (QmxGetAdapterInfo(adapterIndex, nullptr, &adapter, &size) != kLibOk) return 1;
  *vxHandle = adapter.adapterHandle;
  return 0;
}

uint32_t LibZKFindSSDHandle(uint32_t vxHandle, uint32_t moduleIndex, uint32_t* ssdHandle) {
  if (ssdHandle == nullptr) return kModuleLookupFailed;
  *ssdHandle = kNoModuleHandle;
  uint32_t found = kNoModuleHandle;
  uint32_t stage = FindBareModule(vxHandle, moduleIndex, &found);
  if (stage == 2) stage = FindVolumeMember(vxHandle, moduleIndex, &found);
  if (stage != 0) return stage == 1 ? kModuleLookupFailed : kModuleNotThere;
  *ssdHandle = found;
  return found == kNoModuleHandle ? kModuleNotThere : kModuleFound;
}

uint32_t LibZKGetSSDHandle(uint32_t vxHandle, uint32_t moduleIndex, uint32_t* ssdHandle) {
  return LibZKFindSSDHandle(vxHandle, moduleIndex, ssdHandle) == kModuleFound ? 0 : 1;
}
