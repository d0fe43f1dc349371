// One LOG SENSE of a module's page (cumulative values).
#pragma once

#include <cstdint>

// Reads the page into the zero-filled buffer of allocation bytes. 0 when
// the passthrough succeeded with IOCStatus 0 or 0x45 (a short page is taken)
// and the device answered GOOD; else 1.
uint32_t ReadLogSensePage(uint32_t deviceHandle, uint8_t pageCode, uint8_t* buffer, uint16_t allocation);
