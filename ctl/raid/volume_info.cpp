// Volume information: the summary from RAID volume pages 0 and 1 and
// manufacturing page 10, then the RAID settings.
#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/raid/raid_scan.h"

namespace {

uint32_t ReportedRaidType(uint8_t pageType) {
  switch (pageType) {
    case 0:
    case 1:
    case 2:
    case 5: return pageType;
    default: return 6;
  }
}

void FillFromPage0(const PageCopy& page, const VolumeRecord* volume, uint8_t* summary) {
  // Offsets below are the VolumeInfo's; the summary starts at its offset 8.
  auto at = [summary](size_t infoOffset) { return summary + (infoOffset - volume_info::kSummary); };
  const uint8_t* p = page.data();
  PutLe32(at(volume_info::kSummarySize), 0, kVolumeSummarySize);
  PutLe16(at(volume_info::kDevHandle), 0, GetLe16(p, raid_volume_page0::kDevHandle));
  PutLe32(at(volume_info::kBus), 0, volume->header.location[1]);
  PutLe32(at(volume_info::kTarget), 0, volume->header.location[2]);
  uint32_t raidType = ReportedRaidType(Get8(p, raid_volume_page0::kVolumeType));
  PutLe32(at(volume_info::kRaidType), 0, raidType);
  Put8(at(volume_info::kHotSparePool), 0, Get8(p, raid_volume_page0::kHotSparePool));
  PutLe16(at(volume_info::kSettings), 0, GetLe16(p, raid_volume_page0::kSettings));
  PutLe64(at(volume_info::kMaxLba), 0, GetLe64(p, raid_volume_page0::kMaxLba));
  PutLe32(at(volume_info::kStripeSize), 0, GetLe32(p, raid_volume_page0::kStripeSize));
  PutLe16(at(volume_info::kScrubDuration), 0, GetLe16(p, raid_volume_page0::kScrubDuration));
  Put8(at(volume_info::kResyncRate), 0, Get8(p, raid_volume_page0::kResyncRate));
  PutLe32(at(volume_info::kInactiveStatus), 0, Get8(p, raid_volume_page0::kInactiveStatus));
  Put8(at(volume_info::kSupportedMembers), 0, Get8(p, raid_volume_page0::kSupportedMembers));

  // The member count is the page's word: the table holds 10 entries and
  // only entries inside the page are read.
  uint32_t count = Get8(p, raid_volume_page0::kMemberCount);
  Put8(at(volume_info::kMemberCount), 0, static_cast<uint8_t>(count));
  const PhysDiskRecord* member = volume->members;
  for (uint32_t i = 0; i < count && i < kMaxVolumeMembers; ++i) {
    size_t entry = raid_volume_page0::kMembers + i * raid_volume_page0::kMemberSize;
    if (!page.Holds(static_cast<uint32_t>(entry), raid_volume_page0::kMemberSize)) break;
    uint8_t* e = at(volume_info::kMembers + i * volume_info::kMemberEntrySize);
    PutLe32(e, volume_member::kEntrySize, volume_info::kMemberEntrySize);
    PutLe32(e, volume_member::kHandle, member != nullptr ? member->header.handle : 0);
    Put8(e, volume_member::kDiskNumber, Get8(p, entry + raid_volume_page0::kMemberDiskNumber));
    Put8(e, volume_member::kMemberMap, Get8(p, entry + raid_volume_page0::kMemberMap));
    Put8(e, volume_member::kRaidSet, Get8(p, entry + raid_volume_page0::kMemberRaidSet));
    if (member != nullptr) member = member->next;
  }
}

}  // namespace

LibStatus BuildVolumeSummary(LibContext* context, const LibHandle* volume, uint8_t* out, uint32_t size) {
  if (out == nullptr || size < kVolumeSummarySize) return kLibBufferTooSmall;
  VolumeRecord* v = nullptr;
  AdapterRecord* a = nullptr;
  LibStatus status = FindVolume(context, volume, &v, &a);
  if (status != kLibOk) return status;
  LibHandle adapter = a->header.handle;
  PageCopy page0(context);
  status = page0.Read(&adapter, kPageAddressForm1 | v->devHandle, kPageTypeRaidVolume, 0, 0, kReadCurrent);
  if (status != kLibOk) return status;
  if (!page0.Holds(0, raid_volume_page0::kMembers)) return kLibFailure;

  uint8_t summary[kVolumeSummarySize] = {};
  auto at = [&summary](size_t infoOffset) { return summary + (infoOffset - volume_info::kSummary); };
  FillFromPage0(page0, v, summary);

  uint8_t page1[raid_volume_page1::kSize] = {};
  uint32_t pageSize = sizeof(page1);
  status = ConfigPageReadCore(context, &adapter, kPageAddressForm1 | v->devHandle, kPageTypeRaidVolume, 1, 0,
                              kReadCurrent, page1, &pageSize);
  if (status == kLibOk) {
    std::memcpy(at(volume_info::kGuid), page1 + raid_volume_page1::kGuid, volume_info::kGuidSize);
    std::memcpy(at(volume_info::kName), page1 + raid_volume_page1::kName, volume_info::kNameSize);
    PutLe64(at(volume_info::kWwid), 0, GetLe64(page1, raid_volume_page1::kWwid));
  } else if (status != kLibPageNotPresent) {
    return status;
  }

  uint8_t page10[manufacturing_page10::kReadSize] = {};
  pageSize = sizeof(page10);
  status = ConfigPageReadCore(context, &adapter, 0, kPageTypeManufacturing, 10, 0, kReadCurrent, page10, &pageSize);
  if (status != kLibOk) return status;
  bool marked = (GetLe32(page10, manufacturing_page10::kOptions) & manufacturing_page10::kOptMarkType1) != 0;
  if (marked && GetLe32(at(volume_info::kRaidType), 0) == 1) PutLe32(at(volume_info::kMarkedType1), 0, 1);
  std::memcpy(out, summary, sizeof(summary));
  return kLibOk;
}

LibStatus GetVolumeInfo(LibContext* context, const LibHandle* volume, uint32_t index, const LibHandle* adapter,
                        uint32_t byIndex, VolumeInfo* out, uint32_t* size) {
  LibHandle chosen = 0;
  if (byIndex) {
    AdapterRecord* a = nullptr;
    LibStatus status = FindAdapter(context, adapter, &a);
    if (status != kLibOk) return status;
    VolumeRecord* v = a->volumes;
    for (uint32_t i = 0; i < index && v != nullptr; ++i) v = v->next;
    if (v == nullptr) return kLibFailure;
    chosen = v->header.handle;
  } else {
    if (volume == nullptr) return kLibBadHandle;
    chosen = *volume;
  }
  VolumeInfo record{};
  PutLe32(record.bytes, volume_info::kHandle, chosen);
  LibStatus status = BuildVolumeSummary(context, &chosen, record.bytes + volume_info::kSummary, kVolumeSummarySize);
  if (status != kLibOk) return status;
  status = GetVolumeRaidSettings(context, &chosen, record.bytes + volume_info::kRaidSettings,
                                 kVolumeRaidSettingsSize);
  if (status != kLibOk) return status;
  if (out != nullptr && size != nullptr) std::memcpy(out->bytes, record.bytes, std::min(*size, kVolumeInfoSize));
  return kLibOk;
}
