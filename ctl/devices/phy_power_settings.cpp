#include "ctl/devices/phy_power_settings.h"

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/sas_device_page0.h"
#include "ctl/pages/sas_io_unit_page5.h"

namespace {

uint8_t EnableFlag(PhyPowerVariant variant, bool sata) {
  if (sata) {
    return variant == PhyPowerVariant::kPartial ? sas_io_unit_page5::kEnableSataPartial
                                                : sas_io_unit_page5::kEnableSataSlumber;
  }
  return variant == PhyPowerVariant::kPartial ? sas_io_unit_page5::kEnableSasPartial
                                              : sas_io_unit_page5::kEnableSasSlumber;
}

size_t TimeoutOffset(PhyPowerVariant variant, bool sata) {
  if (sata) {
    return variant == PhyPowerVariant::kPartial ? sas_io_unit_page5::kSataPartialTimeout
                                                : sas_io_unit_page5::kSataSlumberTimeout;
  }
  return variant == PhyPowerVariant::kPartial ? sas_io_unit_page5::kSasPartialTimeout
                                              : sas_io_unit_page5::kSasSlumberTimeout;
}

}  // namespace

LibStatus UpdateSasPhySettings(LibContext* context, PhyPowerVariant variant, const LibHandle* adapter,
                               uint16_t devHandle, uint32_t exponent, uint8_t timeout, uint32_t disable) {
  PageCopy device(context);
  LibStatus status = device.Read(adapter, kPageAddressForm2 | devHandle, kPageTypeExtended, 0,
                                 kExtPageSasDevice, kReadCurrent);
  if (status == kLibNoMemory) return status;
  if (status != kLibOk || !device.Holds(0, sas_device_page0::kMinimumSize)) return kLibFailure;
  uint32_t info = GetLe32(device.data(), sas_device_page0::kDeviceInfo);
  bool sata = (info & (sas_device_page0::kInfoSataDevice | sas_device_page0::kInfoStpTarget)) != 0;
  bool ssp = (info & sas_device_page0::kInfoSspTarget) != 0;
  if ((!sata && !ssp) || !(info & sas_device_page0::kInfoDirectAttach)) return kLibFailure;
  uint32_t phy = Get8(device.data(), sas_device_page0::kPhyNumber);

  PageCopy page(context);
  status = page.Read(adapter, 0, kPageTypeExtended, 5, kExtPageSasIoUnit, kReadNvram);
  if (status == kLibNoMemory) return status;
  if (status != kLibOk) return kLibFailure;
  // The phy number comes from the device page: its entry must lie in the page.
  uint32_t entryOffset = sas_io_unit_page5::kPhyEntries + sas_io_unit_page5::kEntrySize * phy;
  if (!page.Holds(entryOffset, sas_io_unit_page5::kEntrySize)) return kLibFailure;
  uint8_t* entry = page.data() + entryOffset;
  Put8(entry, TimeoutOffset(variant, sata), timeout);
  if (exponent <= sas_io_unit_page5::kLargestExponent) {
    PutLe16(entry, sas_io_unit_page5::kInactivityExponent, static_cast<uint16_t>(exponent));
  }
  Put8(entry, sas_io_unit_page5::kControlFlags, disable == 1 ? 0 : EnableFlag(variant, sata));

  uint32_t size = page.size();
  if (ConfigPageWriteCore(context, adapter, 0, kPageTypeExtended, 5, kExtPageSasIoUnit, kWriteNvram,
                          page.data(), &size) != kLibOk) {
    return kLibFailure;
  }
  size = page.size();
  if (ConfigPageWriteCore(context, adapter, 0, kPageTypeExtended, 5, kExtPageSasIoUnit, kWriteCurrent,
                          page.data(), &size) != kLibOk) {
    return kLibFailure;
  }
  return kLibOk;
}
