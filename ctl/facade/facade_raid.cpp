// The facade's RAID operations.
#include "ctl/facade/facade_context.h"
#include "ctl/objects/object_tree.h"
#include "ctl/facade/qmx.h"
#include "ctl/raid/raid_actions.h"
#include "ctl/raid/raid_scan.h"
#include "ctl/raid/volume_create.h"

LibStatus QmxRaidActionRequest(const LibHandle* handle, uint8_t action) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SendRaidActionRequest(context, handle, action, 0, nullptr, nullptr, nullptr);
}

LibStatus QmxRaidAction(const LibHandle* handle, uint8_t action, uint32_t actionDataWord, uint64_t dataOut,
                        uint64_t actionData, uint32_t* dataOutLength) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SendRaidActionRequest(context, handle, action, actionDataWord, PointerAt<uint8_t>(actionData),
                               PointerAt<uint8_t>(dataOut), dataOutLength);
}

LibStatus QmxCreateVolume(const LibHandle* adapter, LibHandle* newVolume, CreateVolumeRequest* request) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return CreateVolume(context, adapter, newVolume, request);
}

LibStatus QmxDeleteVolume(const LibHandle* volume, uint32_t option) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return DeleteVolume(context, volume, option);
}

LibStatus QmxCreateHotSpare(const LibHandle* device, ConfigProblemList* problems, uint32_t commit) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return CreateHotSpare(context, device, problems, commit);
}

LibStatus QmxDeleteHotSpare(const LibHandle* disk) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return DeleteHotSpare(context, disk);
}

LibStatus QmxGetVolumeRaidSettings(const LibHandle* volume, void* out, uint32_t size) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return GetVolumeRaidSettings(context, volume, static_cast<uint8_t*>(out), size);
}

LibStatus QmxStartRaidFunction(const LibHandle* volume, uint32_t function, uint32_t mode, const void* data,
                               const uint32_t* length) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return StartRaidFunction(context, volume, function, mode, data, length);
}

LibStatus QmxStopRaidFunction(const LibHandle* volume, uint32_t function, uint32_t mode) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return StopRaidFunction(context, volume, function, mode);
}

LibStatus QmxActivateVolume(const LibHandle* volume) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ActivateVolume(context, volume);
}

LibStatus QmxRaidCompatibilityCheck(const LibHandle* adapter, const RaidCompatibilityQuery* query,
                                    RaidCompatibilityResult* result) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  return RaidCompatibilityCheck(context, adapter, query, result);
}
