// Opening the card library, discovering cards, counting modules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cardlib/libzk.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/context.h"
#include "emu/host/emulator.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {

class CardEntry : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(emu::Current().OpenDescriptors(), 0); }
};

TEST_F(CardEntry, OpenDiscoverClose) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  EXPECT_EQ(LibZKOpen(), 1u);
  uint32_t count = 0;
  EXPECT_EQ(LibZKDiscoverAdapters(&count), 0u);
  EXPECT_EQ(count, 1u);
  // The card's flags: the card's node and the card filter.
  EXPECT_EQ(g_libContext->discoveryFlags, 0xA0000000u);
  LibZKClose();
  EXPECT_NE(g_libContext, nullptr);  // the context stays until the process ends
  EXPECT_GT(card.log().size(), 255u);
}

TEST_F(CardEntry, DiscoveryWithoutCards) {
  emu::HostModel host = emu::DefaultHost();
  for (emu::NodeModel& node : host.nodes) node.adapters.clear();
  emu::Install(host);
  ASSERT_EQ(LibZKOpen(), 1u);
  uint32_t count = 9;
  EXPECT_EQ(LibZKDiscoverAdapters(&count), 0u);
  EXPECT_EQ(count, 0u);
}

using cardlib_test::CardFile;

TEST_F(CardEntry, CountSsdsOfEachCard) {
  // Modules in a volume count through the volume's member count, bare
  // modules one by one.
  const std::pair<const char*, uint32_t> cases[] = {
      {"default", 4}, {"unconfigured", 4}, {"board-type-9", 8}, {"degraded", 4},
  };
  for (const auto& [name, expected] : cases) {
    SCOPED_TRACE(name);
    emu::Install(CardFile(name));
    ASSERT_EQ(LibZKOpen(), 1u);
    uint32_t count = 0;
    ASSERT_EQ(LibZKDiscoverAdapters(&count), 0u);
    CardInfo info{};
    GetCardInfo(0, &info);
    uint32_t vx = info.adapterInfo.adapterHandle;
    ASSERT_EQ(vx, 0x01000001u);
    uint32_t ssds = 99;
    EXPECT_EQ(LibZKCountSSDs(vx, &ssds), 0u);
    EXPECT_EQ(ssds, expected);
  }
}

TEST_F(CardEntry, CountSsdsOfUnknownHandles) {
  emu::Install(emu::DefaultHost());
  ASSERT_EQ(LibZKOpen(), 1u);
  uint32_t count = 0;
  ASSERT_EQ(LibZKDiscoverAdapters(&count), 0u);
  uint32_t ssds = 99;
  EXPECT_EQ(LibZKCountSSDs(0x01000077, &ssds), 1u);
  EXPECT_EQ(ssds, 99u);
  EXPECT_EQ(LibZKCountSSDs(0x02000001, &ssds), 1u);
  EXPECT_EQ(ssds, 99u);
}

TEST(BoardModelName, ByControllerId) {
  char* card = GetBoardModelName(126);
  ASSERT_NE(card, nullptr);
  EXPECT_STREQ(card, "TRIXEL4400");
  ZkRelease(card);
  char* other = GetBoardModelName(0x72);
  ASSERT_NE(other, nullptr);
  EXPECT_STREQ(other, "UNKNOWN");
  ZkRelease(other);
}

}  // namespace
