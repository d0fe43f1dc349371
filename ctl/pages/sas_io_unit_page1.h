// Fields of SAS IO unit page 1 (extended page type 0x10, number 1; offsets
// from the page start, the 8-byte extended header included): the phy data
// entries, 12 bytes each, and the PhyFlags byte of each whose bit 0x08
// takes the phy off the bus.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sas_io_unit_page1 {
inline constexpr uint8_t kNumber = 1;
inline constexpr uint8_t kExtType = 0x10;
inline constexpr size_t kPhyData = 16;       // the entry of phy 0
inline constexpr size_t kPhyEntrySize = 12;
inline constexpr size_t kPhyFlagsInEntry = 6;  // u8
inline constexpr uint8_t kPhyFlagDisabled = 0x08;

// The PhyFlags byte of phy `phy` (22 + 12 × phy).
constexpr size_t PhyFlags(uint32_t phy) { return kPhyData + kPhyEntrySize * phy + kPhyFlagsInEntry; }
static_assert(PhyFlags(0) == 22 && PhyFlags(3) == 58);
}  // namespace sas_io_unit_page1
