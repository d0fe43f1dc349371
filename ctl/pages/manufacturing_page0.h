// Fields of manufacturing page 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace manufacturing_page0 {
inline constexpr size_t kChipName = 4;    // char[16]
inline constexpr size_t kBoardName = 28;  // char[16]
inline constexpr size_t kNameSize = 16;
// The chip name prefix that marks a CHIPAB controller as the card's.
inline constexpr char kCardChipPrefix[] = "6202";
inline constexpr size_t kCardChipPrefixSize = 4;
}  // namespace manufacturing_page0
