// The controller's hard reset as the application does it: the library's
// records of the adapter (devices, volumes, disks) describe the controller
// before the reset, so the reset is always followed by their rebuild, before
// anything reads them, whether the reset answered success or not (a failed
// reset may still have reset the controller).
#pragma once

#include <cstdint>

#include "ctl/base/lib_status.h"

struct AdapterResetResult {
  LibStatus reset;    // QmxResetAdapter's status
  LibStatus rebuild;  // QmxRefreshAdapter's status
};

AdapterResetResult ResetAndRebuildAdapter(uint32_t adapter);
