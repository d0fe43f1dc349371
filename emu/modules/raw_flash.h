// The module firmware's raw-flash actions, for an unlocked module: the
// conversion of a physical page address into its address fields (0xC00B),
// the block tables of an R-block (0xC03B: function 0 the PE table, 1 the
// mapping table) and the read of one raw flash page (0xC00C function 1).
//
// The conversion: page address p (below 0x40000000; a larger one, or a
// high word, is refused) gives the fields at address offsets 8 = bit 3, 10
// = bits 4-6, 12 = bit 7, 14 = bit 0, 16 = the R-block, bits 16-26, 18 =
// bits 8-15 and 27-29 (as bits 8-10), 20 = bits 1-2; the header holds
// "EPAG" and the low word.
//
// The block tables: the module's own list (rawBlocks) first, else the
// built-in one: blocks 0-3 system (types 1, 2, 5, 1), block 4 invalid (type
// 0), block 5 a user block with mapping state 0, block 0x10 a user block
// re-mapped to 0x7F0, block 0x11 a user block of type 3; every other block
// an ordinary user block (type 4, not re-mapped). The mapping table of a
// block holds, for each of its 256 entries, the block that holds its pages:
// the replacement of a re-mapped block, else the block itself; entries past
// 256 are 0xFFFF.
//
// A raw page is a flash page (16384 bytes) made from the module and every
// address field, the R-block included: a line "RAW PAGE rblock R fields ..."
// first, then noise.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/modules/sct_actions.h"

namespace emu {

RawBlockModel RawBlockOf(const ModuleModel& module, uint16_t rblock);
// The 22 bytes the conversion of a page address answers first.
std::vector<uint8_t> RawPageAddressOf(uint32_t low);
std::vector<uint8_t> RawPage(const ModuleModel& module, const std::vector<uint8_t>& fields);

SctOutcome PageConversionAction(AtaContext& c, uint16_t function, const std::vector<uint8_t>& sector);
SctOutcome BlockTablesAction(AtaContext& c, uint16_t function, const std::vector<uint8_t>& sector);
SctOutcome RawPageReadAction(AtaContext& c, uint16_t function, const std::vector<uint8_t>& sector);

}  // namespace emu
