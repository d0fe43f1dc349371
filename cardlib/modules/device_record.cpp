// One device's information block by adapter and device index.
#include "cardlib/modules/module_handles.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/facade/qmx.h"

uint32_t GetDeviceRecordByIndex(uint32_t adapterIndex, uint32_t deviceIndex, DeviceInfoBlock* record) {
  if (record == nullptr) return 1;
  uint32_t vx = 0;
  if (LibZKGetVXHandle(adapterIndex, &vx) != 0) return 1;
  DeviceInfoBlock device;
  ZkFill(&device, 0, sizeof(device));
  uint32_t size = sizeof(device);
  if (QmxGetDeviceInfo(deviceIndex, &vx, nullptr, &device, &size) != kLibOk) return 1;
  ZkCopy(record, &device, sizeof(device));
  return 0;
}
