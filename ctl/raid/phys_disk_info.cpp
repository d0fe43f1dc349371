// Physical-disk information: RAID summary, RAID status, device part and
// link power fields, built in a local record and copied at the end.
#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/raid/raid_scan.h"

namespace {

// The member object of the volume whose summary carries the disk number of
// the index-th member entry of the volume's page 0; 1 when there is none.
LibStatus FindMemberByIndex(LibContext* context, const LibHandle* volume, uint32_t memberIndex,
                            PhysDiskRecord** out) {
  VolumeRecord* v = nullptr;
  AdapterRecord* a = nullptr;
  LibStatus status = FindVolume(context, volume, &v, &a);
  if (status != kLibOk) return status;
  LibHandle adapter = a->header.handle;
  PageCopy page(context);
  status = page.Read(&adapter, kPageAddressForm1 | v->devHandle, kPageTypeRaidVolume, 0, 0, kReadCurrent);
  if (status != kLibOk) return status;
  // The index is the caller's and the count the page's: both are bounded.
  size_t entry = raid_volume_page0::kMembers + static_cast<size_t>(memberIndex) * raid_volume_page0::kMemberSize;
  if (!page.Holds(raid_volume_page0::kMemberCount, 1) ||
      memberIndex >= Get8(page.data(), raid_volume_page0::kMemberCount) ||
      !page.Holds(static_cast<uint32_t>(entry), raid_volume_page0::kMemberSize)) {
    return kLibFailure;
  }
  uint8_t number = Get8(page.data(), entry + raid_volume_page0::kMemberDiskNumber);
  for (PhysDiskRecord* p = v->members; p != nullptr; p = p->next) {
    if (PhysDiskNumber(p) == number) {
      *out = p;
      return kLibOk;
    }
  }
  return kLibFailure;
}

}  // namespace

LibStatus GetPhysDiskInfo(LibContext* context, const LibHandle* disk, uint32_t memberIndex, const LibHandle* volume,
                          uint32_t byIndex, PhysDiskInfo* out, uint32_t* size) {
  PhysDiskRecord* p = nullptr;
  AdapterRecord* a = nullptr;
  LibStatus status = kLibOk;
  if (byIndex) {
    status = FindMemberByIndex(context, volume, memberIndex, &p);
    if (status != kLibOk) return status;
    LibHandle handle = p->header.handle;
    FindPhysDisk(context, &handle, nullptr, nullptr, &a);
  } else {
    status = FindPhysDisk(context, disk, &p, nullptr, &a);
    if (status != kLibOk) return status;
  }
  LibHandle adapter = a->header.handle;
  uint8_t number = PhysDiskNumber(p);

  PhysDiskInfo record{};
  PutLe32(record.bytes, phys_disk_info::kHandle, p->header.handle);
  status = ReadDiskRaidSummary(context, &adapter, number, record.bytes + phys_disk_info::kSummary,
                               kDiskRaidSummarySize);
  if (status != kLibOk) return status;
  Put8(record.bytes, phys_disk_info::kMemberMap, Get8(p->info.bytes, phys_disk_info::kMemberMap));
  // The identify state is the library's own: it survives a fresh read.
  std::memcpy(record.bytes + phys_disk_info::kIdentifyActive, p->info.bytes + phys_disk_info::kIdentifyActive, 8);
  status = ReadDiskRaidStatus(context, &adapter, number, record.bytes + phys_disk_info::kStatus,
                              kDiskRaidStatusSize);
  if (status != kLibOk) return status;
  status = ReadDiskDevicePart(context, record.bytes + phys_disk_info::kDevicePart, &record, kDevicePartSize);
  if (status != kLibOk) return status;
  FillDevicePages(context, &adapter, &record);
  if (out != nullptr && size != nullptr) std::memcpy(out->bytes, record.bytes, std::min(*size, kPhysDiskInfoSize));
  return kLibOk;
}

LibStatus GetHotSpareInfo(LibContext* context, uint32_t index, const LibHandle* adapter, PhysDiskInfo* out,
                          uint32_t* size) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  PhysDiskRecord* p = a->hotSpares;
  for (uint32_t i = 0; i < index && p != nullptr; ++i) p = p->next;
  if (p == nullptr) return kLibFailure;
  LibHandle handle = p->header.handle;
  return GetPhysDiskInfo(context, &handle, 0, nullptr, 0, out, size);
}
