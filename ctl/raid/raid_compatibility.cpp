// The controller's compatibility check of RAID disks (RAID ACTION 35).
#include "ctl/base/byte_order.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/raid/raid_actions.h"
#include "ctl/raid/volume_create.h"

namespace {

// The DevHandle of a device or physical disk; *volume tells a volume's.
LibStatus SourceDevHandle(LibContext* context, LibHandle handle, uint16_t* devHandle, bool* volume) {
  *volume = false;
  DeviceRecord* device = nullptr;
  if (FindDevice(context, &handle, &device, nullptr) == kLibOk) {
    *devHandle = DeviceDevHandle(device);
    return kLibOk;
  }
  PhysDiskRecord* disk = nullptr;
  if (FindPhysDisk(context, &handle, &disk, nullptr, nullptr) == kLibOk) {
    *devHandle = PhysDiskDevHandle(disk);
    return kLibOk;
  }
  VolumeRecord* v = nullptr;
  LibStatus status = FindVolume(context, &handle, &v, nullptr);
  if (status != kLibOk) return status;
  *devHandle = v->devHandle;
  *volume = true;
  return kLibOk;
}

}  // namespace

LibStatus RaidCompatibilityCheck(LibContext* context, const LibHandle* adapter, const RaidCompatibilityQuery* query,
                                 RaidCompatibilityResult* result) {
  if (query == nullptr || result == nullptr) return kLibBadParameter;
  uint16_t source = 0;
  bool sourceIsVolume = false;
  LibStatus status = SourceDevHandle(context, query->source, &source, &sourceIsVolume);
  if (status != kLibOk) return status;
  uint8_t data[compatibility_data::kSize] = {};
  PutLe16(data, compatibility_data::kSourceDevHandle, source);
  uint32_t flags = sourceIsVolume ? compatibility_data::kFlagSourceIsVolume : 0;
  if (query->reportSource) {
    flags |= compatibility_data::kFlagReportSource;
  } else {
    uint16_t candidate = 0;
    bool candidateIsVolume = false;
    status = SourceDevHandle(context, query->candidate, &candidate, &candidateIsVolume);
    if (status != kLibOk) return status;
    if (candidateIsVolume) return kLibBadHandle;
    PutLe16(data, compatibility_data::kCandidateDevHandle, candidate);
  }
  PutLe32(data, compatibility_data::kFlags, flags);
  uint8_t answer[raid_action_reply::kActionDataSize] = {};
  uint32_t length = sizeof(data);
  status = SendRaidActionRequest(context, adapter, kRaidActionCompatibility, 0, answer, data, &length);
  if (status != kLibOk) return status;
  *result = RaidCompatibilityResult{};
  result->state = Get8(answer, compatibility_data::kState);
  result->genericAttributes = GetLe32(answer, compatibility_data::kGenericAttributes);
  result->oemAttributes = GetLe32(answer, compatibility_data::kOemAttributes);
  return kLibOk;
}
