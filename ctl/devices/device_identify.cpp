// Identification of one device: what its SAS device page (or, for a volume's
// target, the volume's page) and its SCSI answers say about it.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/devices/device_scan.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/pages/sas_device_page0.h"
#include "ctl/devices/scsi_identify.h"

namespace {

constexpr uint16_t kProductTypeMask = 0xF000;
constexpr uint16_t kProductTypeSas = 0x2000;

// Where the device sits: its SAS device page 0, or, when the controller has
// no such device (a volume's target), the volume's WWID.
void ReadLocation(LibContext* context, const LibHandle* adapter, uint16_t devHandle, uint8_t* block) {
  uint8_t page[sas_device_page0::kSize] = {};
  uint32_t size = sizeof(page);
  LibStatus status = ConfigPageReadCore(context, adapter, kPageAddressForm2 | devHandle, kPageTypeExtended, 0,
                                        kExtPageSasDevice, kReadCurrent, page, &size);
  if (status == kLibOk) {
    PutLe64(block, device_info::kSasAddress, GetLe64(page, sas_device_page0::kSasAddress));
    PutLe16(block, device_info::kEnclosureHandle, GetLe16(page, sas_device_page0::kEnclosureHandle));
    PutLe16(block, device_info::kSlot, GetLe16(page, sas_device_page0::kSlot));
    Put8(block, device_info::kPhysicalPort, Get8(page, sas_device_page0::kPhysicalPort));
    return;
  }
  if (status != kLibPageNotPresent) return;
  uint8_t volume[raid_volume_page1::kSize] = {};
  size = sizeof(volume);
  if (ConfigPageReadCore(context, adapter, kPageAddressForm1 | devHandle, kPageTypeRaidVolume, 1, 0, kReadCurrent,
                         volume, &size) == kLibOk) {
    PutLe64(block, device_info::kSasAddress, GetLe64(volume, raid_volume_page1::kWwid));
  }
}

}  // namespace

LibStatus IdentifyDevice(LibContext* context, DeviceRecord* device, AdapterRecord* adapter) {
  if (device == nullptr || adapter == nullptr) return kLibBadHandle;
  LibHandle adapterHandle = adapter->header.handle;
  LibHandle deviceHandle = device->header.handle;
  uint8_t* block = device->info.bytes;
  uint8_t* part = block + device_info::kDevicePart;

  uint16_t productId = GetLe16(adapter->iocFacts, ioc_facts_reply::kProductId);
  if ((productId & kProductTypeMask) == kProductTypeSas) {
    ReadLocation(context, &adapterHandle, DeviceDevHandle(device), block);
  }

  uint8_t inquiry[scsi_cdb::kInquiryLength] = {};
  LibStatus status = InquiryStandard(context, &deviceHandle, inquiry);
  if (status != kLibOk) {
    // A card's module that does not answer is kept without identification.
    if ((context->discoveryFlags & kDiscoverCardFamily) && adapter->isCard) return kLibOk;
    return status;
  }
  std::memcpy(block + device_info::kInquiry, inquiry, sizeof(inquiry));
  device->peripheralType = inquiry[inquiry_data::kPeripheral] & inquiry_data::kTypeMask;

  if (device->peripheralType == inquiry_data::kTypeDirectAccess) {
    ReadAndStoreIdentifier(context, &deviceHandle, part);
    DiskCapacity capacity;
    status = ReadDiskCapacity(context, &deviceHandle, &capacity);
    if (status != kLibOk) return status;
    StoreCapacity(part, capacity);
  }
  BlockCharacteristics characteristics;
  status = ReadBlockCharacteristics(context, &deviceHandle, &characteristics);
  StoreBlockCharacteristics(part, characteristics);
  return status;
}
