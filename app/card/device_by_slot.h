// Finding the device record of the module in an enclosure slot.
#pragma once

#include <cstdint>

#include "ctl/devices/device_info.h"

// The card's enclosure, as the device records name it.
inline constexpr uint16_t kCardEnclosureHandle = 1;

// Walks the adapter's devices by index into *record and stops at the first
// one in the slot of the card's enclosure: 0 found (the record holds it),
// 1 not found or a library call failed.
uint32_t FindDeviceBySlot(uint32_t adapter, uint32_t slot, DeviceInfoBlock* record);
