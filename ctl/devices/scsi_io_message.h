// The SCSI IO message shared by the first- and second-generation senders.
#pragma once

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"

enum class ScsiIoGeneration { kFirst, kSecond };

// Builds and sends one SCSI IO frame for the device. The first generation
// passes the caller's time-out and returns IOCStatus, IOCLogInfo and SCSI
// status whatever the outcome; the second passes none and returns only the
// SCSI status, after success.
LibStatus SendScsiIoMessage(LibContext* context, DeviceRecord* device, AdapterRecord* adapter,
                            ScsiPassthroughRequest* request, ScsiIoGeneration generation);
