// RAID background functions of a volume, and activating an inactive volume.
#include "ctl/base/byte_order.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/raid/raid_actions.h"
#include "ctl/raid/raid_scan.h"

namespace {

constexpr uint32_t kFirstFunction = 1;
constexpr uint32_t kLastFunction = 3;
constexpr uint32_t kFirstStartMode = 1;
constexpr uint32_t kFirstStopMode = 3;
constexpr uint32_t kModeCount = 2;

LibStatus SendFunctionAction(LibContext* context, const LibHandle* volume, uint8_t action, uint32_t function,
                             uint32_t mode, uint32_t firstMode, const void* data, const uint32_t* length) {
  VolumeInfo info{};
  uint32_t size = sizeof(info);
  LibStatus status = GetVolumeInfo(context, volume, 0, nullptr, 0, &info, &size);
  if (status != kLibOk) return status;
  if (function < kFirstFunction || function > kLastFunction) return kLibRaidActionUnsupported;
  if (mode < firstMode || mode >= firstMode + kModeCount) return kLibRaidActionUnsupported;
  uint32_t word = (function - kFirstFunction) | ((mode - firstMode) << 8);
  return SendRaidActionRequest(context, volume, action, word, nullptr, data, length);
}

}  // namespace

LibStatus StartRaidFunction(LibContext* context, const LibHandle* volume, uint32_t function, uint32_t mode,
                            const void* data, const uint32_t* length) {
  return SendFunctionAction(context, volume, kRaidActionStartFunction, function, mode, kFirstStartMode, data,
                            length);
}

LibStatus StopRaidFunction(LibContext* context, const LibHandle* volume, uint32_t function, uint32_t mode) {
  return SendFunctionAction(context, volume, kRaidActionStopFunction, function, mode, kFirstStopMode, nullptr,
                            nullptr);
}

LibStatus ActivateVolume(LibContext* context, const LibHandle* volume) {
  VolumeInfo info{};
  uint32_t size = sizeof(info);
  LibStatus status = GetVolumeInfo(context, volume, 0, nullptr, 0, &info, &size);
  if (status != kLibOk) return status;
  if (GetLe32(info.bytes, volume_info::kVolumeInactive) == 0) return kLibVolumeNotInactive;
  return SendRaidActionRequest(context, volume, kRaidActionActivateVolume, 0, nullptr, nullptr, nullptr);
}
