// What the link power fields of an object's identification say.
#include "ctl/base/byte_order.h"
#include "ctl/devices/phy_power_settings.h"

namespace {

LinkPowerCaps CapsOfPart(const uint8_t* part) {
  return LinkPowerCaps{GetLe32(part, device_part::kLinkPowerValid), GetLe32(part, device_part::kSlumberCapable),
                       GetLe32(part, device_part::kPartialCapable)};
}

}  // namespace

LinkPowerCaps DeviceLinkPowerCaps(const DeviceRecord* device) {
  return CapsOfPart(device->info.bytes + device_info::kDevicePart);
}

LinkPowerCaps PhysDiskLinkPowerCaps(const PhysDiskRecord* disk) {
  return CapsOfPart(disk->info.bytes + phys_disk_info::kDevicePart);
}
