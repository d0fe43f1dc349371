// The power-protection lines of the health report: the SuperCap, the
// auxiliary power input and the backup rail monitor. Whether a board has
// the two power signals at all is read from its manufacturing page 6.
#pragma once

#include <cstdint>

class JsonWriter;

// The SuperCap's voltage, power-on hours, current and expected health and
// its status word; nothing when the board flags of manufacturing page 10
// (page10, size bytes) say the board has no SuperCap part. WARNING raises
// *overall to at least 1, ERROR and "NOT AVAILABLE" (a query failed) to 2.
// The lines are text; while a JSON document is written they go to
// standard error. Always 0.
uint32_t PrintSuperCapStatus(uint32_t vxHandle, const uint8_t* page10, uint32_t size, uint32_t* overall);

// "CONNECTED", "NOT CONNECTED" or "UNKNOWN" (the input cannot be read),
// as a text line or (json not null) the "auxilaryPower" key. Nothing for a
// board without the input. 0, or 1 when manufacturing page 6 cannot be
// read or is too short for the fields.
uint32_t PrintAuxPowerStatus(uint32_t vxHandle, JsonWriter* json);

// "GOOD", "ERROR" (*overall 2, *reason 0, *resultCode 3 and, in text, a
// line asking to contact support) or "UNKNOWN" (the rail cannot be read:
// result 1), as a text line or the "backupRailMon" key. Nothing for a
// board without the monitor. 0, or 1 when manufacturing page 6 or the
// rail cannot be read.
uint32_t PrintBackupRailMonitor(uint32_t vxHandle, uint32_t* overall, JsonWriter* json, uint32_t* reason,
                                uint32_t* resultCode);
