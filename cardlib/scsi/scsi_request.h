// Sending one SCSI command to a module and what came back.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"

struct ScsiOutcome {
  LibStatus passthrough;  // QmxScsiPassthrough's result
  uint32_t iocStatus;     // the controller's IOCStatus (without the log-info bit)
  uint8_t scsiStatus;     // the device's status after the retries
};

// A zeroed request: record size, the CDB length, the time-out.
void PrepareScsiRequest(ScsiPassthroughRequest* request, uint8_t cdbLength, uint32_t timeoutSeconds);
ScsiOutcome SendModuleScsi(uint32_t handle, ScsiPassthroughRequest* request);
