// The board type of a card: which module slots it populates and how they
// sit in its cages. 1 to 12; 0 when it cannot be determined.
#pragma once

#include <cstdint>

inline constexpr uint32_t kBoardTypeInvalid = 0;
// The PCI subsystem device ID of a card without a RAID volume configuration.
inline constexpr uint32_t kUnconfiguredSubsystemId = 0x72;

// Byte 5 of manufacturing page 10 (the page must carry its signature), or,
// when that byte is 0, the card's PCI subsystem device ID with its low 8
// bits cleared: 0x0000 1, 0x0100 2, 0x0200 3, 0x0300 4, 0x1000 6, 0x0500 7,
// others 0. "\n%s: Failed getting controller information.\n" when the card
// cannot be read.
uint32_t GetBoardType(uint32_t adapterIndex);

// The board type that a PCI subsystem device ID names (the rule above).
uint32_t BoardTypeFromSubsystemId(uint32_t subsystemDeviceId);
