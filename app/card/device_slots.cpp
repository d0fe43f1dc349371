#include "app/card/device_slots.h"

#include "app/shell/memory_strings.h"
#include "ctl/base/byte_order.h"
#include "ctl/devices/device_info.h"
#include "ctl/facade/qmx.h"

uint32_t CollectDeviceSlots(uint32_t adapter, uint32_t* slots, uint32_t* count) {
  *count = 0;
  LibHandle handle = adapter;
  uint32_t devices = 0;
  if (QmxGetDeviceCount(&handle, &devices) != kLibOk || devices > kDeviceSlotRoom) return 1;
  DeviceInfoBlock record;
  for (uint32_t index = 0; index < devices; ++index) {
    MemSet(&record, 0, sizeof record);
    uint32_t size = sizeof record;
    if (QmxGetDeviceInfo(index, &handle, nullptr, &record, &size) != kLibOk) return 1;
    slots[index] = GetLe16(record.bytes, device_info::kSlot);
  }
  *count = devices;
  return 0;
}
