// A test with the emulated card installed, the card library open and the
// card discovered: the adapter handle and AdapterInfoBlock of card 1, the
// machine's model, and the requests the card received.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "cardlib/libzk.h"
#include "emu/host/emulator.h"

namespace app_test {

class CardFixture : public ::testing::Test {
 public:
  void SetUp() override { Start(emu::DefaultHost()); }
  void TearDown() override {
    EXPECT_EQ(card_->OpenDescriptors(), 0);
    LibZKClose();
  }

  // Installs the host, opens the library and discovers the cards; the log
  // and the output start empty.
  void Start(emu::HostModel host) {
    card_ = &emu::Install(std::move(host));
    ASSERT_EQ(LibZKOpen(), 1u);
    uint32_t count = 0;
    ASSERT_EQ(LibZKDiscoverAdapters(&count), 0u);
    ASSERT_GE(count, 1u);
    CardInfo info{};
    ASSERT_EQ(GetCardInfo(0, &info), 0u);
    info_ = info.adapterInfo;
    adapter_ = info_.adapterHandle;
    card_->ClearLog();
    card_->TakeOutput();
  }

  emu::Emulator& card() { return *card_; }
  emu::AdapterModel& model() { return *card_->model().FirstAdapter(); }
  std::vector<const emu::LoggedCall*> Commands(uint8_t function) const {
    std::vector<const emu::LoggedCall*> calls;
    for (const emu::LoggedCall& call : card_->log()) {
      if (call.isCommand && call.function == function) calls.push_back(&call);
    }
    return calls;
  }
  static uint32_t Le32(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint32_t>(bytes.at(offset)) | (static_cast<uint32_t>(bytes.at(offset + 1)) << 8) |
           (static_cast<uint32_t>(bytes.at(offset + 2)) << 16) | (static_cast<uint32_t>(bytes.at(offset + 3)) << 24);
  }
  static std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13 + (i >> 9));
    return bytes;
  }

  emu::Emulator* card_ = nullptr;
  AdapterInfoBlock info_{};
  uint32_t adapter_ = 0;
};

}  // namespace app_test
