// The vendor logs of a SATA module, read whole: a log's size from the
// module's log directory, except the system event log (0xFB), whose size
// follows from the module's configuration and which is read in chunks.
#pragma once

#include <cstdint>

#include "app/shell/app_buffer.h"

inline constexpr uint8_t kSsdEventLogAddress = 0xB7;
inline constexpr uint8_t kSystemEventLogAddress = 0xFB;
inline constexpr uint8_t kGrownBadBlockLogAddress = 0xA8;

// The system event log's sectors: 16 MiB for a module of model type '4' or
// '8' with configuration ID "1591", else 32 MiB; and its chunks.
inline constexpr uint32_t kSystemEventSectorsSmall = 32768;
inline constexpr uint32_t kSystemEventSectors = 65536;
inline constexpr uint32_t kSystemEventChunkSectors = 4096;

// The number of sectors of the log on this module: the directory's word for
// it (directory: the 512 bytes of log 0), or the system event log's fixed
// size from the diagnostic information (its first 24 bytes at least).
uint32_t SmartLogSectors(uint8_t logAddress, const uint8_t* directory, const uint8_t* diagInfo);

// Reads the log into a new zero-filled buffer of sectors x 512 bytes. 0 with
// *sectors (0 and no buffer for an empty log); 1 when the directory, the
// diagnostic information or the log cannot be read, or memory runs out
// (no buffer then).
uint32_t ReadSmartLog(uint32_t vxHandle, uint32_t ssdHandle, uint8_t logAddress, AppBuffer* log, uint32_t* sectors);
