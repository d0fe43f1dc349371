// The parts of a physical disk's information that its RAID physical disk
// pages give: the RAID summary and the RAID status.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/config_frame.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/raid/raid_scan.h"

namespace {

constexpr uint32_t kUnmapped = 0xFFFFFFFF;

LibStatus ReadPage0ByNumber(LibContext* context, const LibHandle* adapter, uint8_t number, uint8_t* page) {
  uint32_t size = raid_phys_disk_page0::kSize;
  return ConfigPageReadCore(context, adapter, kPageAddressForm1 | number, kPageTypeRaidPhysDisk, 0, 0, kReadCurrent,
                            page, &size);
}

struct StatusBoolean {
  size_t infoOffset;
  uint32_t flag;
};

constexpr StatusBoolean kDiskStatusBooleans[] = {
    {phys_disk_info::kExpansionTarget, raid_phys_disk_page0::kStatusExpansionTarget},
    {phys_disk_info::kWriteCacheEnabled, raid_phys_disk_page0::kStatusWriteCache},
    {phys_disk_info::kVolumeInactive, raid_phys_disk_page0::kStatusVolumeInactive},
    {phys_disk_info::kQuiesced, raid_phys_disk_page0::kStatusQuiesced},
    {phys_disk_info::kOutOfSync, raid_phys_disk_page0::kStatusOutOfSync},
    {phys_disk_info::kNotCertified, raid_phys_disk_page0::kStatusNotCertified},
};

}  // namespace

LibStatus ReadDiskRaidSummary(LibContext* context, const LibHandle* adapter, uint8_t number, uint8_t* out,
                              uint32_t size) {
  if (out == nullptr || size < kDiskRaidSummarySize) return kLibBufferTooSmall;
  uint8_t page[raid_phys_disk_page0::kSize] = {};
  LibStatus status = ReadPage0ByNumber(context, adapter, number, page);
  if (status != kLibOk) return status;
  // Offsets below are the PhysDiskInfo's; the summary starts at its offset 408.
  auto at = [out](size_t infoOffset) { return out + (infoOffset - phys_disk_info::kSummary); };
  std::memset(out, 0, kDiskRaidSummarySize);
  uint16_t devHandle = GetLe16(page, raid_phys_disk_page0::kDevHandle);
  PutLe32(at(phys_disk_info::kSummarySize), 0, kDiskRaidSummarySize);
  PutLe16(at(phys_disk_info::kSummaryDevHandle), 0, devHandle);
  Put8(at(phys_disk_info::kDiskNumber), 0, Get8(page, raid_phys_disk_page0::kDiskNumber));
  Put8(at(phys_disk_info::kHotSparePool), 0, Get8(page, raid_phys_disk_page0::kHotSparePool));
  std::memcpy(at(phys_disk_info::kVendorId), page + raid_phys_disk_page0::kIdentification,
              raid_phys_disk_page0::kIdentificationSize);
  PutLe64(at(phys_disk_info::kDeviceMaxLba), 0, GetLe64(page, raid_phys_disk_page0::kDeviceMaxLba));
  PutLe64(at(phys_disk_info::kHostMaxLba), 0, GetLe64(page, raid_phys_disk_page0::kHostMaxLba));
  PutLe64(at(phys_disk_info::kCoercedMaxLba), 0, GetLe64(page, raid_phys_disk_page0::kCoercedMaxLba));
  PutLe16(at(phys_disk_info::kBlockSize), 0, GetLe16(page, raid_phys_disk_page0::kBlockSize));
  Put8(at(phys_disk_info::kDiskAttributes), 0, Get8(page, raid_phys_disk_page0::kAttributes));

  // A disk the driver has no location for (a module that is gone has no
  // DevHandle either) is still described: its location stays unmapped.
  uint32_t bus = kUnmapped;
  uint32_t target = kUnmapped;
  status = MapBusTargetHandle(context, adapter, &bus, &target, &devHandle);
  PutLe32(at(phys_disk_info::kOwnBus), 0, bus);
  PutLe32(at(phys_disk_info::kOwnTarget), 0, target);
  if (status != kLibOk) return kLibOk;
  uint8_t paths[raid_phys_disk_page1::kReadSize] = {};
  uint32_t pathsSize = sizeof(paths);
  status = ConfigPageReadCore(context, adapter, kPageAddressForm1 | number, kPageTypeRaidPhysDisk, 1, 0,
                              kReadCurrent, paths, &pathsSize);
  if (status == kLibOk) Put8(at(phys_disk_info::kPathCount), 0, Get8(paths, raid_phys_disk_page1::kPathCount));
  return status;
}

LibStatus ReadDiskRaidStatus(LibContext* context, const LibHandle* adapter, uint8_t number, uint8_t* out,
                             uint32_t size) {
  if (out == nullptr || size < kDiskRaidStatusSize) return kLibBufferTooSmall;
  uint8_t page[raid_phys_disk_page0::kSize] = {};
  LibStatus status = ReadPage0ByNumber(context, adapter, number, page);
  if (status != kLibOk) return status;
  auto at = [out](size_t infoOffset) { return out + (infoOffset - phys_disk_info::kStatus); };
  std::memset(out, 0, kDiskRaidStatusSize);
  PutLe32(at(phys_disk_info::kStatusSize), 0, kDiskRaidStatusSize);
  PutLe32(at(phys_disk_info::kDiskState), 0, Get8(page, raid_phys_disk_page0::kDiskState));
  PutLe32(at(phys_disk_info::kOfflineReason), 0, Get8(page, raid_phys_disk_page0::kOfflineReason));
  PutLe32(at(phys_disk_info::kIncompatibleReason), 0, Get8(page, raid_phys_disk_page0::kIncompatibleReason));
  uint32_t flags = GetLe32(page, raid_phys_disk_page0::kStatusFlags);
  for (const StatusBoolean& b : kDiskStatusBooleans) PutLe32(at(b.infoOffset), 0, (flags & b.flag) ? 1 : 0);
  return kLibOk;
}
