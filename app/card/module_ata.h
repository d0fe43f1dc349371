// ATA commands that the application sends to a flash module itself, one
// SATA passthrough each (size 416, the module's SSD handle, a 100-second
// time-out, a Register Host-to-Device FIS), and the media erase notice to
// the controller.
#pragma once

#include <cstdint>

inline constexpr uint32_t kIdentifySize = 512;
inline constexpr uint32_t kDiagIdentifySize = 512;

// IDENTIFY DEVICE into the caller's 512 bytes (zero-filled first, and again
// when the request fails). The passthrough's status; 1 when it is 0 but
// the controller answered a non-zero IOCStatus or the module aborted it.
uint32_t AtaIdentifyDevice(uint32_t adapter, uint32_t ssdHandle, uint8_t* identify);

// READ NATIVE MAX ADDRESS EXT: the low 32 bits of the native maximum
// address. 1 when the module answers ERR or the controller a non-zero
// IOCStatus; otherwise the passthrough's status (the address is stored
// when it is 0).
uint32_t ReadNativeMaxAddress(uint32_t adapter, uint32_t ssdHandle, uint32_t* address);

// SET MAX ADDRESS EXT to the 32-bit address (count 1: kept across power
// cycles). 1 when the module answers ERR or the controller a non-zero
// IOCStatus, else the passthrough's status.
uint32_t SetMaxAddress(uint32_t adapter, uint32_t ssdHandle, uint32_t address);

// SMART READ LOG of the SCT command/status log (0xE0), length bytes (1 to
// 255 whole sectors). 0, or 1 when the passthrough fails, the controller
// answers a non-zero IOCStatus or the module answers ERR.
uint32_t SmartReadLog(uint32_t adapter, uint32_t ssdHandle, void* buffer, uint32_t length);

// The module's diagnostic identify data (vendor SCT action 0xC002) into 512
// bytes. 1 after "\nFailed to extract Diagnostic Identify info from SSD slot
// number %d... " when the action is refused; else the data read's result.
uint32_t DiagIdentify(uint32_t vxHandle, uint32_t ssdHandle, uint32_t slot, uint8_t* data);

// Tells the controller that a media erase starts (on 1: the action data
// word is the device count × 1536 OR 1) or has ended (anything else: 0):
// RAID ACTION 0x83. 0, or 1 when the request fails, the controller answers
// a non-zero IOCStatus or (on) the device count cannot be read.
uint32_t NotifyMediaErase(uint32_t adapter, uint32_t on);

// SMART ENABLE ATTRIBUTE AUTOSAVE, at most 3 tries a second apart, each
// announced with the slot's location and cage. 0, or the last try's status.
uint32_t SmartAutosave(uint32_t adapter, uint32_t ssdHandle, uint32_t slot);

// Reads the SCT status until the module is ready: at most `tries` reads. A
// status of another format uses up a try; "busy" (device state 5) prints
// "." and waits a second. 0 ready; 1 another state, or the tries used up;
// a failed read's own result.
uint32_t WaitSctStatus(uint32_t adapter, uint32_t ssdHandle, uint32_t tries);
