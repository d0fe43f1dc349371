// The slots of the card's devices in device order: the member list from
// which the format and DLC commands build the volume again.
#pragma once

#include <cstdint>

// Room for the device list: the card's slots and a few devices more.
inline constexpr uint32_t kDeviceSlotRoom = 12;

// Counts the adapter's devices and reads each one's record, storing its
// enclosure slot in slots[] (room for kDeviceSlotRoom). 0 with *count set;
// 1 when a library call fails or the card reports more devices than the
// list has room for (nothing is then cut silently).
uint32_t CollectDeviceSlots(uint32_t adapter, uint32_t* slots, uint32_t* count);
