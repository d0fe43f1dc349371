// A module's configuration code ("2519") as the word the module and the
// listing hold it in: its four characters in memory order, read as one
// little-endian word.
#pragma once

#include <cstdint>

constexpr uint32_t ConfigCodeWord(const char* text) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[3])) << 24;
}
