#include "cardlib/libzk.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

uint32_t FailWithStatusFetched() {
  IocStatusInfo status{};
  QmxGetLastStatus(&status);
  return 1;
}

}  // namespace

uint32_t LibZKCountSSDs(uint32_t vxHandle, uint32_t* count) {
  if (count == nullptr) return 1;
  uint32_t devices = 0;
  if (QmxGetDeviceCount(&vxHandle, &devices) != kLibOk) return FailWithStatusFetched();
  uint32_t total = 0;
  for (uint32_t index = 0; index < devices; ++index) {
    DeviceInfoBlock device;
    ZkFill(&device, 0, sizeof(device));
    uint32_t size = sizeof(device);
    if (QmxGetDeviceInfo(index, &vxHandle, nullptr, &device, &size) != kLibOk) return FailWithStatusFetched();
    LibHandle volume = GetLe32(device.bytes, device_info::kVolumeHandle);
    if (volume == 0) {
      total += 1;
      continue;
    }
    VolumeInfo info;
    ZkFill(&info, 0, sizeof(info));
    size = sizeof(info);
    if (QmxGetVolumeInfo(&volume, 0, &vxHandle, 0, &info, &size) != kLibOk) return FailWithStatusFetched();
    total += Get8(info.bytes, volume_info::kMemberCount);
  }
  *count = total;
  return 0;
}
