// SCSI commands to a device or a physical disk.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"

// One SCSI IO message to a device (kind 0x02).
LibStatus SendScsiIo(LibContext* context, const LibHandle* device, ScsiPassthroughRequest* request);
// Up to three attempts while the device answers CHECK CONDITION (a unit
// attention among them); the sense area and the SCSI status are cleared
// before each attempt. Devices through SendScsiIo, physical disks through
// the RAID SCSI passthrough. 48 for a handle of any other kind.
LibStatus ScsiCommandRetry(LibContext* context, const LibHandle* object, ScsiPassthroughRequest* request);
// ScsiCommandRetry through a library data buffer.
LibStatus ScsiCommandWithBuffer(LibContext* context, const LibHandle* object,
                                ScsiPassthroughRequest* request);
// The sense key of fixed- or descriptor-format sense data; 0 for any other.
uint8_t SenseKey(const uint8_t* sense);

// SCSI IO for adapters with second-generation frames: no time-out is passed
// (the transport's 10 s apply) and only the SCSI status is returned.
LibStatus SendScsiIoGen2(LibContext* context, const LibHandle* device, ScsiPassthroughRequest* request);
// A SCSI command to a RAID physical disk, which has no target of its own
// (RAID SCSI IO passthrough). 0 when the reply's IOCStatus is 0, 0x44 or
// 0x45, else 1; only then the record gets IOCStatus, IOCLogInfo and, from a
// reply of this function, the SCSI status.
LibStatus RaidDiskScsiPassthrough(LibContext* context, const LibHandle* disk,
                                  ScsiPassthroughRequest* request);
// The same for adapters with second-generation frames; IOCStatus and
// IOCLogInfo are not returned.
LibStatus RaidDiskScsiPassthroughGen2(LibContext* context, const LibHandle* disk,
                                      ScsiPassthroughRequest* request);
