// Whether the selected card carries a RAID volume configuration.
#pragma once

#include <cstdint>

// *unconfigured becomes true when the card's PCI subsystem device ID is 0x72
// (manufacturing page 10 is then not read) or when bits 0-1 of the board
// flags (manufacturing page 10, u32 at 24) equal 1; else false. 0 success; the
// card library's status (no message) when the card cannot be read; 1 after
// "%s: Corvexium is not in a proper state.\n" when manufacturing page 10
// cannot be read, lacks its signature or is too short for the flags.
uint32_t CheckCardState(bool* unconfigured);
