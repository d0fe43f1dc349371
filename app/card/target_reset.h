// The SCSI TARGET RESET the application sends on its own: one task-management
// request to a device of the controller, by its DevHandle.
#pragma once

#include <cstdint>

// Sends TARGET RESET (task type 3, message flags 0, the transport's 10 s) to
// the device with the DevHandle on the adapter. 0 when the request was sent
// and the controller answered IOCStatus 0; 1 otherwise. The reply's response
// code is not looked at.
uint32_t SendTargetReset(uint32_t adapter, uint16_t devHandle);
