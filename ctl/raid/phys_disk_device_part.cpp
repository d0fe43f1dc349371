// The device part of a physical disk's information: where it sits (SAS
// device page 0) and what it answers to SCSI commands, which reach it
// through the RAID SCSI passthrough.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/devices/device_scan.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/pages/sas_device_page0.h"
#include "ctl/raid/raid_scan.h"
#include "ctl/devices/scsi_identify.h"

namespace {

constexpr uint16_t kProductTypeMask = 0xF000;
constexpr uint16_t kProductTypeSas = 0x2000;

}  // namespace

LibStatus ReadDiskDevicePart(LibContext* context, uint8_t* out, const PhysDiskInfo* record, uint32_t size) {
  if (out == nullptr || record == nullptr || size < kDevicePartSize) return kLibBufferTooSmall;
  LibHandle disk = GetLe32(record->bytes, phys_disk_info::kHandle);
  AdapterRecord* a = nullptr;
  LibStatus status = FindPhysDisk(context, &disk, nullptr, nullptr, &a);
  if (status != kLibOk) return status;
  LibHandle adapter = a->header.handle;
  const uint8_t* r = record->bytes;
  uint16_t devHandle = GetLe16(r, phys_disk_info::kSummaryDevHandle);

  uint8_t part[kDevicePartSize] = {};
  PutLe32(part, device_part::kSize, kDevicePartSize);
  PutLe32(part, device_part::kBus, GetLe32(r, phys_disk_info::kOwnBus));
  PutLe32(part, device_part::kTarget, GetLe32(r, phys_disk_info::kOwnTarget));
  PutLe16(part, device_part::kDevHandle, devHandle);

  if ((GetLe16(a->iocFacts, ioc_facts_reply::kProductId) & kProductTypeMask) == kProductTypeSas) {
    // An offline disk that was not taken offline on request does not answer.
    if (GetLe32(r, phys_disk_info::kDiskState) == kDiskStateOffline &&
        GetLe32(r, phys_disk_info::kOfflineReason) != raid_phys_disk_page0::kOfflineOnRequest) {
      std::memcpy(out, part, sizeof(part));
      return kLibOk;
    }
    uint8_t page[sas_device_page0::kSize] = {};
    uint32_t pageSize = sizeof(page);
    // Without the page the slot would read 0, a slot like any other: the
    // record is not handed out with it.
    status = ConfigPageReadCore(context, &adapter, kPageAddressForm2 | devHandle, kPageTypeExtended, 0,
                                kExtPageSasDevice, kReadCurrent, page, &pageSize);
    if (status != kLibOk) return status;
    PutLe64(part, device_part::kSasAddress, GetLe64(page, sas_device_page0::kSasAddress));
    PutLe16(part, device_part::kEnclosureHandle, GetLe16(page, sas_device_page0::kEnclosureHandle));
    PutLe16(part, device_part::kSlot, GetLe16(page, sas_device_page0::kSlot));
  }

  DiskCapacity capacity;
  status = ReadDiskCapacity(context, &disk, &capacity);
  if (status != kLibOk) return status;
  StoreCapacity(part, capacity);
  status = InquiryStandard(context, &disk, part + device_part::kInquiry);
  if (status != kLibOk) return status;
  BlockCharacteristics characteristics;
  status = ReadBlockCharacteristics(context, &disk, &characteristics);
  if (status != kLibOk) return status;
  StoreBlockCharacteristics(part, characteristics);
  ReadAndStoreIdentifier(context, &disk, part);
  std::memcpy(out, part, sizeof(part));
  return kLibOk;
}

LibStatus FillDevicePages(LibContext* context, const LibHandle* adapter, PhysDiskInfo* record) {
  if (record == nullptr) return kLibBadParameter;
  FillLinkPowerFields(context, adapter, GetLe16(record->bytes, phys_disk_info::kSummaryDevHandle),
                      record->bytes + phys_disk_info::kDevicePart, LinkPowerOwner::kPhysDisk);
  return kLibOk;
}
