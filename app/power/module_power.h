// What -power shows and checks of the flash modules: their advanced power
// management and throttling, and whether one of them refuses the command.
#pragma once

#include <cstdint>

// The table of every module slot of the selected card that holds a module:
// slot, cage, location, whether APM is enabled and how far it throttles.
void PrintSsdPowerTable();

// True when some module of the card carries the MODK configuration (4K- or
// 8K-optimized), whose firmware does not take a slot power setting.
bool HasModkModule(uint32_t vxHandle);
