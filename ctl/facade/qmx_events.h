// Public event access (part of the facade; include ctl/facade/qmx.h). The
// records handed out: an event record of 216 bytes (size word 216, zero, the
// time it was queued, event code, sequence number, 192 bytes of data) and an
// event-log record of 64 bytes (size word 64, zero, the time it was queued,
// the 48-byte log page 0 entry). The caller sets the size word before
// asking for the next record.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"

// The driver's enabled event-type mask (16 bytes) and the number of entries
// it keeps; either output may be null.
LibStatus QmxEventQuery(const LibHandle* adapter, uint8_t* mask, uint16_t* entries);
// Adds the types in mask to the driver's; newMask (may be null) gets the result.
LibStatus QmxEventEnable(const LibHandle* adapter, const uint32_t mask[4], uint32_t* newMask);
LibStatus QmxEventEnableFromAdapter(const LibHandle* adapter);
// *count: in, the room of buffer in 200-byte entries; out, the entries copied.
LibStatus QmxEventReport(const LibHandle* adapter, uint8_t* buffer, uint16_t* count);
LibStatus QmxSetEventMask(const LibHandle* adapter, const uint8_t mask[16]);
LibStatus QmxCollectEvents(const LibHandle* adapter);
// 21 for a record whose size word is not 216, 33 when none is queued.
LibStatus QmxNextEventRecord(const LibHandle* adapter, uint8_t* record);
// 23 when the controller keeps no event log (message version below 0x0200).
LibStatus QmxReadEventLogEntries(const LibHandle* adapter);
// 21 for a record whose size word is not 64, 33 when none is queued.
LibStatus QmxNextEventLogEntry(const LibHandle* adapter, uint8_t* record);
// The driver signals the process when events arrive: 0 or an error number.
LibStatus QmxEnableAsyncEvents();
