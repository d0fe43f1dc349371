// -getsmartlog: the SSD event log (0xB7, as text) and the system event log
// (0xFB, binary) of one module slot or of all, into files named after each
// module, in the directory the user names.
#pragma once

#include <cstdint>

#include "app/logs/log_file_name.h"

struct GetSmartLogOptions {
  uint8_t allSlots;                // 1: every slot; 0: `slot` only
  uint8_t slot;                    // 0 to 7
  char path[kLogFileNameSize];     // the directory of the files; empty: the current one
};
static_assert(sizeof(GetSmartLogOptions) == 514);

// Collects the logs of the adapter's slots. 0 when every log asked for was
// collected (or was empty); 1 when the card cannot be read, a name cannot
// be made, a log cannot be read, a file cannot be created or written, or
// the one slot asked for has no module.
uint32_t CollectSlotLogs(uint32_t adapterIndex, const GetSmartLogOptions& options);
