// The link power fields of devices and physical disks are read during their
// identification, which does not fill them yet: no object reports valid
// link power information.
#include "ctl/phy_power_settings.h"

LinkPowerCaps DeviceLinkPowerCaps(const DeviceRecord*) { return LinkPowerCaps{0, 0, 0}; }

LinkPowerCaps PhysDiskLinkPowerCaps(const PhysDiskRecord*) { return LinkPowerCaps{0, 0, 0}; }
