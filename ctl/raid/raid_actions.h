// RAID ACTION messages and the operations built on them: deleting volumes,
// creating and deleting hot spares, RAID background functions, activation.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"
#include "ctl/raid/raid_records.h"

// One RAID ACTION. The handle names a volume, a physical disk or the
// adapter, by action; 80 for an action outside the table (nothing sent);
// 770 when the reply's IOCStatus is not 0. The 24 bytes of action data land
// in actionData when given; dataOut (with *dataOutLength bytes) is sent.
LibStatus SendRaidActionRequest(LibContext* context, const LibHandle* handle, uint8_t action,
                                uint32_t actionDataWord, uint8_t* actionData, const void* dataOut,
                                const uint32_t* dataOutLength);
// Deletes the volume (action data bit 0 = option), then every hot spare
// that no remaining volume can use, highest index first.
LibStatus DeleteVolume(LibContext* context, const LibHandle* volume, uint32_t option);
LibStatus DeleteHotSpare(LibContext* context, const LibHandle* disk);
// Makes the device a hot spare of pool 1 when it fits a volume (commit), or
// only checks; 768 when problems were listed.
LibStatus CreateHotSpare(LibContext* context, const LibHandle* device, ConfigProblemList* problems,
                         uint32_t commit);
// RAID ACTION 29 for the device; *number (0xFF until known) the new disk's number.
LibStatus SendCreateHotSpare(LibContext* context, const LibHandle* device, uint8_t pool, uint8_t* number);
// Function 1-3, start mode 1-2, stop mode 3-4; 80 outside.
LibStatus StartRaidFunction(LibContext* context, const LibHandle* volume, uint32_t function, uint32_t mode,
                            const void* data, const uint32_t* length);
LibStatus StopRaidFunction(LibContext* context, const LibHandle* volume, uint32_t function, uint32_t mode);
// 771 when the volume is not inactive (nothing sent).
LibStatus ActivateVolume(LibContext* context, const LibHandle* volume);
