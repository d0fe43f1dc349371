// Reading a SuperCap value through a vendor operation.
#pragma once

#include <cstdint>

// One send; 0 with the value when the IOCStatus is 0, else 1.
uint32_t ReadIoUnitValue(uint32_t vxHandle, uint8_t operation, uint16_t* value);
// Asks again, a second apart, while the SuperCap answers busy: at most 30
// sends. 0 with the value, or 1 (a failed send, another IOCStatus, or busy
// to the end).
uint32_t PollIoUnitValue(uint32_t vxHandle, uint8_t operation, uint16_t* value);
