// Shared steps of the card library tests: a named card file, and a card
// opened and discovered the way the application does it.
#pragma once

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "cardlib/libzk.h"
#include "emu/host/emulator.h"

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

// One module of the default card, reached as the application reaches it;
// the request log starts empty, and every node opened is closed again.
template <uint32_t kModuleSlot>
class DefaultCardModule : public ::testing::Test {
 protected:
  void SetUp() override {
    c_ = OpenCard(CardFile("default"));
    ssd_ = SsdHandle(c_.vx, kModuleSlot);
    ASSERT_NE(ssd_, kNoModuleHandle);
    c_.card->ClearLog();
  }
  void TearDown() override { EXPECT_EQ(emu::Current().OpenDescriptors(), 0); }

  emu::ModuleRuntime& Activity() { return c_.card->ModuleActivity(kModuleSlot); }

  OpenedCard c_;
  uint32_t ssd_ = 0;
};

}  // namespace cardlib_test
