// The emulated default card for fuzzing targets whose checks ask the
// controller (identity, flash copies): installed and discovered once, its
// output and request log dropped after every input so that a long run does
// not grow them.
#pragma once

#include <cstdint>
#include <string>

#include "cardlib/libzk.h"
#include "emu/host/emulator.h"

namespace fuzz_card {

// The adapter handle of the default card, installing it on the first call.
inline uint32_t Adapter() {
  static uint32_t adapter = [] {
    emu::Install(emu::DefaultHost());
    uint32_t count = 0;
    if (LibZKOpen() != 1 || LibZKDiscoverAdapters(&count) != 0 || count == 0) __builtin_trap();
    CardInfo info{};
    if (GetCardInfo(0, &info) != 0) __builtin_trap();
    return static_cast<uint32_t>(info.adapterInfo.adapterHandle);
  }();
  return adapter;
}

// Gives the card the keyboard input of the next checks.
inline void Input(const std::string& text) { emu::Current().SetInput(text); }

// Drops what the last input left behind.
inline void Drain() {
  emu::Emulator& card = emu::Current();
  card.TakeOutput();
  card.ClearLog();
}

}  // namespace fuzz_card
