// Shared steps of the card library tests: a named card file, and a card
// opened and discovered the way the application does it.
#pragma once

#include <cstdint>
#include <string>

#include "emu/emulator.h"

namespace cardlib_test {

// The machine of emu/cards/NAME.txt.
emu::HostModel CardFile(const std::string& name);

// Installs the host, opens the library, discovers the one card and
// resolves its VX handle (gtest failures when any of it goes wrong).
struct OpenedCard {
  emu::Emulator* card = nullptr;
  uint32_t vx = 0;
};
OpenedCard OpenCard(emu::HostModel host);

// The SSD handle of a slot (kNoModuleHandle when there is none).
uint32_t SsdHandle(uint32_t vx, uint32_t slot);

}  // namespace cardlib_test
