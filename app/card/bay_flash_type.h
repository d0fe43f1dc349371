// Whether the card's modules carry the same kind of flash, as their
// diagnostic information tells it.
#pragma once

#include <cstdint>

// The modules in the listed slots (count of them), or every device of the
// adapter when there is no list or the count is 0. The first module's
// flash type (the 8 bytes at 16 of its diagnostic information) is the
// reference; each module that differs prints "\t\t SSD Flash type mismatch
// on bay %d\n" with its slot, and checking goes on to the last module. 0
// all alike; 1 when one differed, the adapter handle is 0, or a module
// cannot be read ("\n%s: Failed getting device information.\n", or "\n%s:
// Failed getting device count.\n").
uint32_t CheckBayFlashType(uint32_t adapter, uint32_t count, const uint32_t* slots);
