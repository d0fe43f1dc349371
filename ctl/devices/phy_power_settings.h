// Per-phy link power management: writes a device's phy entry of SAS IO unit
// page 5 (NVRAM, then current values), for partial or slumber power.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"

enum class PhyPowerVariant { kPartial, kSlumber };

// Updates the phy entry of the directly attached SATA, STP or SSP device
// with that DevHandle: the timeout of the variant, the inactivity exponent
// when it is 0-7, and the control flags (0 when disable is 1). 0, 1, or 16.
LibStatus UpdateSasPhySettings(LibContext* context, PhyPowerVariant variant, const LibHandle* adapter,
                               uint16_t devHandle, uint32_t exponent, uint8_t timeout, uint32_t disable);

// Applies the update to one device or physical disk (oneObject), or to every
// device, member disk and hot spare of the adapter; objects whose link power
// fields were not read, or that lack the variant's capability, answer 1.
LibStatus WalkDevicesApply(LibContext* context, PhyPowerVariant variant, const LibHandle* adapter,
                           uint32_t oneObject, const LibHandle* object, uint8_t timeout, uint32_t exponent,
                           uint32_t disable);

// What an object's identification says about its link power management.
struct LinkPowerCaps {
  uint32_t valid;
  uint32_t slumberCapable;
  uint32_t partialCapable;
};
LinkPowerCaps DeviceLinkPowerCaps(const DeviceRecord* device);
LinkPowerCaps PhysDiskLinkPowerCaps(const PhysDiskRecord* disk);
