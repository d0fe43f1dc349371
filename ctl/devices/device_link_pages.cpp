// The link power fields of a device or physical disk: what its SAS device
// page, its phy's SAS phy page and SAS IO unit page 5 say about partial and
// slumber power.
#include "ctl/base/byte_order.h"
#include "ctl/devices/device_scan.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/sas_device_page0.h"

namespace {

uint32_t PowerCondition(uint32_t phyInfo) {
  switch (phyInfo & sas_phy_page0::kPowerConditionMask) {
    case 0: return 0;
    case sas_phy_page0::kPowerPartial: return 1;
    case sas_phy_page0::kPowerSlumber: return 2;
    default: return 3;
  }
}

}  // namespace

void FillLinkPowerFields(LibContext* context, const LibHandle* adapter, uint16_t devHandle, uint8_t* part,
                         LinkPowerOwner owner) {
  PutLe32(part, device_part::kLinkPowerValid, 0);
  PageCopy device(context);
  if (device.Read(adapter, kPageAddressForm2 | devHandle, kPageTypeExtended, 0, kExtPageSasDevice,
                  kReadCurrent) != kLibOk ||
      !device.Holds(sas_device_page0::kFlags, 2)) {
    return;
  }
  PageCopy phy(context);
  uint8_t phyNumber = Get8(device.data(), sas_device_page0::kPhyNumber);
  if (phy.Read(adapter, phyNumber, kPageTypeExtended, 0, kExtPageSasPhy, kReadCurrent) != kLibOk ||
      !phy.Holds(sas_phy_page0::kPhyInfo, 4)) {
    return;
  }
  PutLe32(part, device_part::kPhyPowerCondition, PowerCondition(GetLe32(phy.data(), sas_phy_page0::kPhyInfo)));

  PageCopy ioUnit(context);
  LibStatus status = ioUnit.Read(adapter, 0, kPageTypeExtended, 5, kExtPageSasIoUnit, kReadNvram);
  bool valid = owner == LinkPowerOwner::kDevice ? status == kLibOk : status != kLibPageNotPresent;
  if (!valid) return;
  uint16_t flags = GetLe16(device.data(), sas_device_page0::kFlags);
  PutLe32(part, device_part::kLinkPowerValid, 1);
  PutLe32(part, device_part::kSlumberCapable, (flags & sas_device_page0::kFlagSlumberCapable) ? 1 : 0);
  PutLe32(part, device_part::kPartialCapable, (flags & sas_device_page0::kFlagPartialCapable) ? 1 : 0);
}

LibStatus FillDevicePages2(LibContext* context, const LibHandle* adapter, DeviceRecord* device) {
  if (device == nullptr) return kLibBadHandle;
  FillLinkPowerFields(context, adapter, DeviceDevHandle(device), device->info.bytes + device_info::kDevicePart,
                      LinkPowerOwner::kDevice);
  return kLibOk;
}
