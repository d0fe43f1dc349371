// Deleting a volume, and with it the hot spares no remaining volume can use.
#include "ctl/base/byte_order.h"
#include "ctl/discovery/discovery.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/raid/raid_actions.h"
#include "ctl/raid/raid_scan.h"
#include "ctl/raid/volume_create.h"

namespace {

bool VolumeIsLive(const VolumeInfo& info) {
  uint32_t state = GetLe32(info.bytes, volume_info::kVolumeState);
  return state != 0 && state != 1 && GetLe32(info.bytes, volume_info::kVolumeInactive) == 0;
}

// Whether the hot spare can serve one of the adapter's volumes.
LibStatus FitsSomeVolume(LibContext* context, AdapterRecord* adapter, LibHandle disk, bool* fits) {
  *fits = false;
  for (const VolumeRecord* v = adapter->volumes; v != nullptr; v = v->next) {
    VolumeInfo info{};
    uint32_t size = sizeof(info);
    LibHandle volume = v->header.handle;
    LibStatus status = GetVolumeInfo(context, &volume, 0, nullptr, 0, &info, &size);
    if (status != kLibOk) return status;
    ConfigProblemList problems{kConfigProblemListSize, 0, {}};
    uint32_t fitsVolume = 0;
    // Any answer but "fits" (problems listed, a RAID0 volume) means this
    // volume cannot use the disk.
    HotSpareFitsVolume(context, &disk, v, &problems, &fitsVolume);
    if (fitsVolume) {
      *fits = true;
      return kLibOk;
    }
  }
  return kLibOk;
}

}  // namespace

LibStatus DeleteVolume(LibContext* context, const LibHandle* volume, uint32_t option) {
  AdapterRecord* adapter = nullptr;
  LibStatus status = FindVolume(context, volume, nullptr, &adapter);
  if (status != kLibOk) return status;
  VolumeInfo info{};
  uint32_t size = sizeof(info);
  status = GetVolumeInfo(context, volume, 0, nullptr, 0, &info, &size);
  if (status != kLibOk) return status;
  LibHandle adapterHandle = adapter->header.handle;
  status = FindAdapter(context, &adapterHandle, &adapter);
  if (status != kLibOk) return status;
  bool live = VolumeIsLive(info);
  if (live) {
    DeviceRecord* device = nullptr;
    status = FindVolumeDevice(context, volume, &device);
    if (status != kLibOk) return status;
    if (device != nullptr) {
      LibHandle deviceHandle = device->header.handle;
      status = FindDevice(context, &deviceHandle, &device, nullptr);
      if (status != kLibOk) return status;
      DeviceRecordHook(device);
    }
  }
  status = SendRaidActionRequest(context, volume, kRaidActionDeleteVolume, option ? 1 : 0, nullptr, nullptr,
                                 nullptr);
  if (status != kLibOk) return status;
  status = RemoveVolumeRecord(context, volume);
  if (status != kLibOk) return status;

  uint32_t spares = 0;
  uint32_t volumes = 0;
  CountHotSpares(context, &adapterHandle, &spares);
  CountVolumes(context, &adapterHandle, &volumes);
  for (uint32_t index = spares; index-- > 0;) {
    PhysDiskInfo spare{};
    uint32_t spareSize = sizeof(spare);
    status = GetHotSpareInfo(context, index, &adapterHandle, &spare, &spareSize);
    if (status == kLibPageNotPresent) {
      // The controller dropped the disk with the volume: the tree is stale.
      if (volumes == 0 || !live) return RefreshAdapterObjects(context, &adapterHandle);
      continue;  // a live volume remains: the disk is left alone
    }
    if (status != kLibOk) return status;
    LibHandle disk = GetLe32(spare.bytes, phys_disk_info::kHandle);
    bool fits = false;
    status = FitsSomeVolume(context, adapter, disk, &fits);
    if (status != kLibOk) return status;
    if (fits) continue;
    status = DeleteHotSpare(context, &disk);
    if (status != kLibOk) return status;
  }
  return kLibOk;
}
