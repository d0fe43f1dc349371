// Senders of the messages that address one device behind the controller:
// SATA passthrough, the enclosure slot status (and with it the locate
// indication), SMP passthrough, SAS IO unit control, task management, and
// the device identification VPD page. Each resolves library handles to the
// controller's DevHandle through the object tree; nothing is sent when a
// lookup, a size check or an allocation fails.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/devices/device_requests.h"

// One ATA command. 21 for a record whose size word is not 416; the status
// quad is copied into the record after every sent request.
LibStatus SataPassthrough(LibContext* context, const LibHandle* adapter, SataPassthroughRequest* request);

// Switches the identify (locate) indication of the enclosure slot of a device
// or physical disk; off writes back the status read when it was switched on.
LibStatus SetSlotIdentify(LibContext* context, const LibHandle* object, uint32_t on);
// The slot status of the object's enclosure slot.
LibStatus ReadSlotStatus(LibContext* context, const LibHandle* object, uint32_t* slotStatus);
LibStatus WriteSlotStatus(LibContext* context, const LibHandle* object, uint32_t slotStatus);
// One SEP message for the slot of the device with that DevHandle (found in
// its SAS device page 0). The reply (32 bytes) lands in *reply. A read whose
// reply carries a non-zero IOCStatus fails (1) and leaves *slotStatus alone.
LibStatus SendSepRequest(LibContext* context, const LibHandle* adapter, uint16_t devHandle, uint32_t write,
                         uint32_t* slotStatus, uint8_t* reply);

// One SMP frame. 21 for a record whose size word is not 2096; 18 for a
// request length below 4 or above 1028, or a response size above 1032.
LibStatus SmpPassthrough(LibContext* context, const LibHandle* adapter, SmpPassthroughRequest* request);

// One SAS IO unit control message (18 for an operation code it refuses).
LibStatus SasIoUnitControl(LibContext* context, const LibHandle* adapter, const LibHandle* device,
                           uint8_t operation, uint8_t phy, IocStatusInfo* status);

// One task-management message for the device with the handle, or for the
// device at bus 0, target and LUN (112 for a task type it refuses).
LibStatus TaskManagement(LibContext* context, const LibHandle* adapter, uint32_t target, uint8_t lun,
                         const LibHandle* device, uint8_t taskType, uint8_t msgFlags, uint8_t* responseCode,
                         uint32_t* terminationCount, IocStatusInfo* status);

// INQUIRY of the device identification page, then ParseDeviceIdPage. The
// identifier is allocated with QmxAlloc and is the caller's to free.
LibStatus ReadDeviceIdVpd(LibContext* context, const LibHandle* object, ScsiPassthroughRequest* scratch,
                          uint8_t** identifier, uint32_t* length, uint8_t* codeSet);
// Picks one identifier from a device identification page of bufferLength
// bytes: an NAA-class designator first, else a type-2 class, else a type-1
// class, of the logical unit only; nothing (length 0) when none fits or the
// designator is longer than 32 bytes.
void ParseDeviceIdPage(LibContext* context, const uint8_t* page, uint32_t bufferLength, uint8_t** identifier,
                       uint32_t* length, uint8_t* codeSet);
