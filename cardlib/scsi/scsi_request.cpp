#include "cardlib/scsi/scsi_request.h"

#include "cardlib/entry/os_wrappers.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/message_reply.h"

void PrepareScsiRequest(ScsiPassthroughRequest* request, uint8_t cdbLength, uint32_t timeoutSeconds) {
  ZkFill(request, 0, sizeof(*request));
  request->size = kScsiPassthroughSize;
  request->cdbLength = cdbLength;
  request->timeout = timeoutSeconds;
}

ScsiOutcome SendModuleScsi(uint32_t handle, ScsiPassthroughRequest* request) {
  ScsiOutcome outcome{};
  outcome.passthrough = QmxScsiPassthrough(&handle, request);
  outcome.iocStatus = request->iocStatus & kIocStatusMask;
  outcome.scsiStatus = request->scsiStatus;
  return outcome;
}
