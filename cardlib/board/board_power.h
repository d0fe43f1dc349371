// The card's SuperCap (through vendor operations of the SAS IO unit control
// request), its auxiliary power input and backup rail monitor (GPIOs of IO
// unit page 3), and the locate indication.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"

inline constexpr uint32_t kIoUnitControlReplySize = 20;

// SuperCap vendor operations (byte 0 of the request).
enum : uint8_t {
  kSuperCapStartTest = 144,
  kSuperCapHealth = 145,       // IOCStatus 2: busy, ask again
  kSuperCapVoltage = 146,      // likewise
  kSuperCapPowerOnHours = 147,
  kSuperCapVoltageThreshold = 148,
  kSuperCapFurtherValue = 149,
};

// Health and power judgements; they only ever rise.
enum : uint32_t {
  kBoardStatusGood = 0,
  kBoardStatusWarning = 1,
  kBoardStatusError = 2,
};

// One SAS IO unit control operation to the card; reply gets the 20-byte
// reply (a vendor operation's value is its u16 at 12). status, when given,
// gets the reply's IOCStatus and IOCLogInfo once the request was sent. The
// result is QmxIssueRequest's.
uint32_t SendIoUnitControl(uint32_t vxHandle, uint8_t operation, uint8_t* reply, IocStatusInfo* status);
// The SuperCap's current health against the wear table of manufacturing
// page 10. 0 or 1; *status rises to 1 (warning) or 2 (error).
uint32_t GetSuperCapHealth(uint32_t vxHandle, uint16_t* powerOnHours, uint16_t* expectedHealth,
                           uint16_t* currentHealth, uint32_t* status);
// The SuperCap's voltage; below its threshold *status becomes 2. 0 or 1.
uint32_t GetSuperCapVoltage(uint32_t vxHandle, uint16_t* voltage, uint32_t* status);
// Starts the SuperCap health test. 0 or 1.
uint32_t StartSuperCapTest(uint32_t vxHandle);
// The auxiliary power input (GPIO 25): 1 connected. 0 or 1.
uint32_t GetAuxPowerStatus(uint32_t vxHandle, uint32_t* connected);
// The backup rail monitor (GPIO 24). 0, 1, or 16 without memory.
uint32_t GetBackupRailStatus(uint32_t vxHandle, uint32_t* state);
// Switches the locate indication of the card (the enclosure slot of its
// first module that takes it) on or off. 0 or 1.
uint32_t LibZKLocateCard(uint32_t adapterIndex, uint32_t on);
// A RAID ACTION with the action code to the volume with that index. 0 or 1.
uint32_t SendModuleRaidAction(uint32_t vxHandle, uint32_t volumeIndex, uint8_t action);
