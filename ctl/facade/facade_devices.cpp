// The facade's device request frames.
#include "ctl/devices/device_senders.h"
#include "ctl/facade/facade_context.h"
#include "ctl/facade/qmx.h"

LibStatus QmxSataPassthrough(const LibHandle* adapter, SataPassthroughRequest* request) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SataPassthrough(context, adapter, request);
}

LibStatus QmxSmpPassthrough(const LibHandle* adapter, SmpPassthroughRequest* request) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SmpPassthrough(context, adapter, request);
}

LibStatus QmxLocateDevice(const LibHandle* object, uint32_t on) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SetSlotIdentify(context, object, on);
}

LibStatus QmxSasIoUnitControl(const LibHandle* adapter, const LibHandle* device, uint8_t operation, uint8_t phy,
                              IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SasIoUnitControl(context, adapter, device, operation, phy, status);
}

LibStatus QmxTaskManagement(const LibHandle* adapter, uint32_t target, uint8_t lun, const LibHandle* device,
                            uint8_t taskType, uint8_t msgFlags, uint8_t* responseCode, uint32_t* terminationCount,
                            IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return TaskManagement(context, adapter, target, lun, device, taskType, msgFlags, responseCode, terminationCount,
                        status);
}
