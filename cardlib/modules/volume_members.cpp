// The members of a RAID volume and the disk information of one member.
#include "cardlib/modules/module_handles.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"

namespace {

// Page 1's first path entry names the slot the disk was last seen in, which
// is all that is left of an offline member's location.
constexpr size_t kOfflineMemberSlot = 32;
static_assert(kOfflineMemberSlot < raid_phys_disk_page1::kReadSize);

}  // namespace

uint32_t GetModuleDiskInfo(const LibHandle* adapter, const LibHandle* disk, uint32_t memberIndex,
                           const LibHandle* volume, uint32_t byIndex, PhysDiskInfo* info, uint32_t* size) {
  if (info == nullptr || size == nullptr) return 1;
  // The whole record is read so that the disk state is there whatever size
  // the caller asked for.
  PhysDiskInfo record;
  ZkFill(&record, 0, sizeof(record));
  uint32_t recordSize = sizeof(record);
  if (QmxGetMemberDiskInfo(disk, memberIndex, volume, byIndex, &record, &recordSize) != kLibOk) return 1;
  uint32_t result = 0;
  if (GetLe32(record.bytes, phys_disk_info::kDiskState) == kDiskStateOffline) {
    uint8_t page[raid_phys_disk_page1::kReadSize] = {};
    uint32_t pageSize = sizeof(page);
    uint8_t number = Get8(record.bytes, phys_disk_info::kDiskNumber);
    if (ReadPhysDiskPage1(adapter, page, &pageSize, kReadCurrent, 0, nullptr, 0, number) != kLibOk ||
        pageSize <= kOfflineMemberSlot) {
      result = 1;
    } else {
      PutLe16(record.bytes, phys_disk_info::kSlot, Get8(page, kOfflineMemberSlot));
    }
  }
  uint32_t copied = *size < sizeof(record) ? *size : static_cast<uint32_t>(sizeof(record));
  ZkCopy(info, &record, copied);
  return result;
}

uint32_t GetVolumeMemberTable(uint32_t vxHandle, uint32_t volumeIndex, VolumeMemberTable* table) {
  if (table == nullptr) return 1;
  uint32_t size = sizeof(table->volume);
  if (QmxGetVolumeInfo(nullptr, volumeIndex, &vxHandle, 1, &table->volume, &size) != kLibOk) return 1;
  LibHandle volumeHandle = GetLe32(table->volume.bytes, volume_info::kHandle);
  uint32_t members = Get8(table->volume.bytes, volume_info::kMemberCount);
  // One member per slot: a larger count is not this card's volume, and the
  // tables hold no more.
  uint32_t result = members > kCardModuleSlots ? 1 : 0;
  if (members > kCardModuleSlots) members = kCardModuleSlots;
  for (uint32_t i = 0; i < members; ++i) {
    PhysDiskInfo disk;
    ZkFill(&disk, 0, sizeof(disk));
    size = sizeof(disk);
    if (GetModuleDiskInfo(&vxHandle, nullptr, i, &volumeHandle, 1, &disk, &size) != 0) {
      result = 1;
      continue;
    }
    table->memberSlot[i] = GetLe16(disk.bytes, phys_disk_info::kSlot);
    table->memberHandle[i] = GetLe32(disk.bytes, phys_disk_info::kHandle);
  }
  return result;
}
