#include "app/card/device_by_slot.h"

#include "app/shell/memory_strings.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

uint32_t FailWithStatusFetched() {
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  return 1;
}

}  // namespace

uint32_t FindDeviceBySlot(uint32_t adapter, uint32_t slot, DeviceInfoBlock* record) {
  if (record == nullptr) return 1;
  LibHandle handle = adapter;
  uint32_t devices = 0;
  if (QmxGetDeviceCount(&handle, &devices) != kLibOk) return FailWithStatusFetched();
  for (uint32_t index = 0; index < devices; ++index) {
    MemSet(record, 0, sizeof *record);
    uint32_t size = sizeof *record;
    if (QmxGetDeviceInfo(index, &handle, nullptr, record, &size) != kLibOk) return FailWithStatusFetched();
    if (GetLe16(record->bytes, device_info::kSlot) == slot &&
        GetLe16(record->bytes, device_info::kEnclosureHandle) == kCardEnclosureHandle) {
      return 0;
    }
  }
  return 1;
}
