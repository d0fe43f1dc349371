// Making the host see the modules' new sizes, and checking what it sees.
#pragma once

#include <cstdint>

// Takes the module's phy (the slot number) off the bus in SAS IO unit page
// 1's current copy; the adapter reset that follows brings it back from the
// non-volatile copy, so that the host sees the module leave and return
// with its new size. 0, the library's status after "ERROR: Failed to read
// (write) SAS IO Unit Page 1. Status %02X", or 1 after the memory message.
uint32_t DisableSlotPhy(uint32_t adapter, uint32_t slot);

// One module's expected size as the host should report it, in 512-byte
// sectors.
struct DlcExpectedSize {
  uint32_t slot;
  uint64_t sectors;
};

// For each module, up to `tries` looks (a second apart) for its block
// device and its size in sysfs. 0 when every module shows its own expected
// size; 5 otherwise (after the failed lines), or when the card cannot be
// read.
uint32_t ValidateDlcSizes(const DlcExpectedSize* expected, uint32_t count, uint8_t tries);
