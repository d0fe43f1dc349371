// How a module slot (0 to 7) is named to the user on the selected
// controller's board: its cage (1 to 4; 0 when the slot has no cage on the
// board) and its location word ("Upper", "Lower" or "Unknown").
#pragma once

#include <cstdint>

// Cage 0 and "Unknown" when the card cannot be read or the slot is not one
// of the board's. A board type that cannot be determined prints
// "\n\n Invalid Board Type \n\n" (SlotToCage) or "\n Invalid Board Type
// PE\n\n" (SlotToLocation) and answers cage 0 and "Unknown".
uint32_t SlotToCage(uint16_t slot);
const char* SlotToLocation(uint16_t slot);

// The table itself: the cage and location of a slot on a board of that type
// and PCI subsystem device ID (the ID 0x72 gives board types from 4 on the
// type-4 layout). Board type 0 answers cage 0 and "Unknown" silently.
uint32_t CageOfSlot(uint32_t boardType, uint32_t subsystemDeviceId, uint16_t slot);
const char* LocationOfSlot(uint32_t boardType, uint32_t subsystemDeviceId, uint16_t slot);
