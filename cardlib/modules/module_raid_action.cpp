// A RAID ACTION to one of the card's volumes.
#include "cardlib/board/board_power.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

uint32_t SendModuleRaidAction(uint32_t vxHandle, uint32_t volumeIndex, uint8_t action) {
  VolumeInfo volume;
  ZkFill(&volume, 0, sizeof(volume));
  uint32_t size = sizeof(volume);
  if (QmxGetVolumeInfo(nullptr, volumeIndex, &vxHandle, 1, &volume, &size) != kLibOk) return 1;
  LibHandle handle = GetLe32(volume.bytes, volume_info::kHandle);
  return QmxRaidAction(&handle, action, 0, 0, 0, nullptr) == kLibOk ? 0 : 1;
}
