#include "ctl/transport/driver_transport.h"
#include "ctl/facade/facade_context.h"
#include "ctl/facade/qmx.h"
#include "ctl/devices/scsi_io.h"

LibStatus QmxIssueRequest(QmxRequestBlock* block) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  if (block == nullptr) return kLibBadParameter;
  return IssueRequest(context, block);
}

LibStatus QmxResetAdapter(const LibHandle* adapter) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return HardResetAdapter(context, adapter);
}

LibStatus QmxResetAdapterAlt(const LibHandle* adapter, uint32_t argument1, uint32_t argument2) {
  return ResetAdapterStub(BoundContext(), adapter, argument1, argument2);
}

LibStatus QmxScsiPassthrough(const LibHandle* object, ScsiPassthroughRequest* request) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ScsiCommandWithBuffer(context, object, request);
}
