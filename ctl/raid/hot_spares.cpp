// Creating and deleting hot spares.
#include <algorithm>

#include "ctl/base/byte_order.h"
#include "ctl/base/handle_walk.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/raid/raid_actions.h"
#include "ctl/raid/volume_create.h"

namespace {

constexpr uint8_t kNoDiskNumber = 0xFF;
constexpr uint8_t kDefaultPool = 1;

// The disk number and pool of the physical disk with the DevHandle. A page
// whose number does not move forward ends the walk unused: that number is
// what the caller would take.
bool FindDiskPage(LibContext* context, const LibHandle* adapter, uint16_t devHandle, uint8_t* page) {
  HandleWalk walk(raid_phys_disk_page0::kWalkStart, kLowestNumber, kHighestNumber);
  for (;;) {
    uint32_t size = raid_phys_disk_page0::kSize;
    if (ConfigPageReadCore(context, adapter, walk.cursor(), kPageTypeRaidPhysDisk, 0, 0, kReadCurrent, page,
                           &size) != kLibOk) {
      return false;
    }
    if (!walk.Take(Get8(page, raid_phys_disk_page0::kDiskNumber))) return false;
    if (GetLe16(page, raid_phys_disk_page0::kDevHandle) == devHandle) return true;
  }
}

}  // namespace

LibStatus DeleteHotSpare(LibContext* context, const LibHandle* disk) {
  LibStatus status = SendRaidActionRequest(context, disk, kRaidActionDeleteHotSpare, 0, nullptr, nullptr, nullptr);
  if (status != kLibOk) return status;
  AdapterRecord* adapter = nullptr;
  status = FindPhysDisk(context, disk, nullptr, nullptr, &adapter);
  if (status != kLibOk) return status;
  LibHandle adapterHandle = adapter->header.handle;
  return RemoveHotSpareRecord(context, &adapterHandle, disk);
}

LibStatus SendCreateHotSpare(LibContext* context, const LibHandle* device, uint8_t pool, uint8_t* number) {
  if (number != nullptr) *number = kNoDiskNumber;
  DeviceRecord* d = nullptr;
  AdapterRecord* adapter = nullptr;
  LibStatus status = FindDevice(context, device, &d, &adapter);
  if (status != kLibOk) return status;
  LibHandle adapterHandle = adapter->header.handle;
  uint32_t word = pool | (static_cast<uint32_t>(DeviceDevHandle(d)) << 16);
  uint8_t answer[raid_action_reply::kActionDataSize] = {};
  status = SendRaidActionRequest(context, &adapterHandle, kRaidActionCreateHotSpare, word, answer, nullptr, nullptr);
  if (status == kLibOk && number != nullptr) *number = answer[0];
  return status;
}

LibStatus CreateHotSpare(LibContext* context, const LibHandle* device, ConfigProblemList* problems,
                         uint32_t commit) {
  DeviceRecord* d = nullptr;
  AdapterRecord* adapter = nullptr;
  LibStatus status = FindDevice(context, device, &d, &adapter);
  if (status != kLibOk) return status;
  LibHandle adapterHandle = adapter->header.handle;
  uint32_t fits = 0;
  if (adapter->volumes == nullptr) {
    status = AddConfigProblem(context, problems, kProblemNoVolumes, 0);
  } else {
    for (const VolumeRecord* v = adapter->volumes; v != nullptr && !fits; v = v->next) {
      status = HotSpareFitsVolume(context, device, v, problems, &fits);
    }
  }
  if (fits) status = kLibOk;
  if (status != kLibOk || !commit) return status;

  status = SendCreateHotSpare(context, device, kDefaultPool, nullptr);
  if (status != kLibOk) return status;
  PhysDiskRecord* disk = nullptr;
  status = AddHotSpareRecord(context, &disk, &adapterHandle);
  if (status != kLibOk) return status;
  AssignObjectHandle(context, &disk->header, kKindWordPhysDisk, IocNumber(adapter), d->bus, d->target, 0);
  uint8_t* info = disk->info.bytes;
  PutLe32(info, phys_disk_info::kHandle, disk->header.handle);
  SetPhysDiskDevHandle(disk, DeviceDevHandle(d));
  uint8_t page[raid_phys_disk_page0::kSize] = {};
  if (FindDiskPage(context, &adapterHandle, DeviceDevHandle(d), page)) {
    std::copy(page, page + sizeof(page), disk->page0);
    Put8(info, phys_disk_info::kDiskNumber, Get8(page, raid_phys_disk_page0::kDiskNumber));
    Put8(info, phys_disk_info::kHotSparePool, Get8(page, raid_phys_disk_page0::kHotSparePool));
  }
  PutLe32(info, phys_disk_info::kIdentifyActive, d->identifyActive);
  PutLe32(info, phys_disk_info::kSavedSlotStatus, d->savedSlotStatus);
  PutLe32(info, phys_disk_info::kOwnBus, d->bus);
  PutLe32(info, phys_disk_info::kOwnTarget, d->target);
  PutLe32(info, phys_disk_info::kBus, d->bus);
  PutLe32(info, phys_disk_info::kTarget, d->target);
  DeviceRecordHook(d);
  return kLibOk;
}
