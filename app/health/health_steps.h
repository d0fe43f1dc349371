// The steps of one run of the health command, in the order the command
// takes them (app/health/health_command.cpp drives them).
#pragma once

#include <cstdint>

#include "app/health/health_run.h"

// The board: the life thresholds of manufacturing page 10 and the SuperCap
// lines, the temperature thresholds of IO unit page 8 by board type, the
// auxiliary power and backup rail lines, and the components. Every step
// runs even when an earlier one failed. 1 when the board type cannot be
// determined ("\n\n Invalid Board Type \n\n"), else 0.
uint32_t GetBoardHealthStatus(HealthRun* run);

// The volumes of a configured card (missing, inactive, degraded or failed
// ones, and the members that are not optimal), or the device count of an
// unconfigured card against the expected member count. 0, or 1 when a
// state it needs cannot be read.
uint32_t CheckComponents(HealthRun* run);

// The module in one slot (when there is one), then the slot's verdict.
void CheckModuleSlot(HealthRun* run, uint32_t slot);

// The summary: warranty remaining and temperature (card with a volume),
// the lock verdict, the overall verdict and its reason code.
void PrintOverallHealth(HealthRun* run);

// The verdict's word: "GOOD", "WARNING", else "ERROR".
const char* HealthWord(uint32_t status);
