// The module firmware's panic slots (vendor SCT action 0xC601): function 0
// answers the four slot headers (1024 bytes to read), function 1 a slot's
// dump (read in pieces, a streamed phase, while the module's
// panic-read-fails lasts each piece read fails), function 2 clears a slot
// (1024 bytes to read afterwards, zeros). What an erase clears stays
// cleared: the slots are kept in the card file.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/modules/sct_actions.h"

namespace emu {

// The 36-byte header of panic slot `slot` as the query answers it (zeros
// for an empty slot).
std::vector<uint8_t> PanicSlotHeader(const ModuleModel& module, uint32_t slot);
// The dump of a slot: dataSize bytes, made from the module, the slot and
// the size.
std::vector<uint8_t> PanicDump(const ModuleModel& module, uint32_t slot);

SctOutcome PanicLogAction(AtaContext& c, uint16_t function, const std::vector<uint8_t>& sector);

}  // namespace emu
