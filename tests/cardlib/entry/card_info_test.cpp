// The card information record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cardlib/libzk.h"
#include "ctl/base/context.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"

namespace {

class CardInfoTest : public ::testing::Test {
 protected:
  void Start(emu::HostModel host) {
    card_ = &emu::Install(std::move(host));
    ASSERT_EQ(LibZKOpen(), 1u);
    uint32_t count = 0;
    ASSERT_EQ(LibZKDiscoverAdapters(&count), 0u);
    ASSERT_EQ(count, 1u);
  }
  void SetUp() override { Start(emu::DefaultHost()); }
  void TearDown() override { EXPECT_EQ(card_->OpenDescriptors(), 0); }

  // Manufacturing page 0 with these names, in all three copies.
  void SetNames(const std::string& chip, const std::string& board) {
    emu::AdapterModel* adapter = card_->model().FirstAdapter();
    adapter->chipName = chip;
    adapter->boardName = board;
    adapter->pages[emu::PageKey{9, 0, 0, 0}] = emu::DefaultPages(*adapter)[emu::PageKey{9, 0, 0, 0}];
  }

  // The CONFIG handler, except that reads of manufacturing page 0 from NVRAM fail.
  void FailNvramReadsOfPage0() {
    emu::FunctionHandler config = emu::ConfigHandler();
    card_->RegisterFunction(0x04, emu::FunctionHandler{
                                      config.minimumFrameBytes,
                                      [config](emu::CommandRequest& request, emu::CommandAnswer& answer) {
                                        const std::vector<uint8_t>& f = request.frame;
                                        if (f[0] == 6 && (f[23] & 0x0F) == 9 && f[22] == 0) {
                                          answer.reply = emu::NewReply(request, 24);
                                          emu::SetReplyStatus(&answer.reply, 0x0004);
                                          return;
                                        }
                                        config.handle(request, answer);
                                      }});
  }

  emu::Emulator* card_ = nullptr;
};

TEST_F(CardInfoTest, FilledFromTheAdapterAndItsPages) {
  SetNames("6202-B0", "Corvexium C480");
  CardInfo info;
  std::memset(&info, 0xEE, sizeof(info));
  EXPECT_EQ(GetCardInfo(0, &info), 0u);
  EXPECT_EQ(info.adapterIndex, 0u);
  EXPECT_EQ(std::string(info.boardName, 16), std::string("Corvexium C480\0\0", 16));
  EXPECT_EQ(std::string(info.chipName, 16), std::string("6202-B0\0\0\0\0\0\0\0\0\0", 16));
  EXPECT_EQ(info.adapterInfo.adapterHandle, 0x01000001u);
  EXPECT_STREQ(info.adapterInfo.chipName, "TRIXEL4400");
  const emu::AdapterModel* adapter = card_->model().FirstAdapter();
  EXPECT_EQ(info.iocFacts[0] | (info.iocFacts[1] << 8), adapter->messageVersion);
  const emu::ConfigPage* page5 = card_->model().FirstAdapter()->FindPage(9, 5);
  ASSERT_NE(page5, nullptr);
  ASSERT_GE(page5->current.size(), 32u);
  EXPECT_EQ(std::vector<uint8_t>(info.mfgPage5, info.mfgPage5 + 32),
            std::vector<uint8_t>(page5->current.begin(), page5->current.begin() + 32));
}

TEST_F(CardInfoTest, SixteenCharacterBoardNameHasNoTerminator) {
  SetNames("6202-B0", "ABCDEFGHIJKLMNOP");
  CardInfo info{};
  EXPECT_EQ(GetCardInfo(0, &info), 0u);
  EXPECT_EQ(std::string(info.boardName, 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(info.chipName[0], '6');  // the next field starts right after
}

TEST_F(CardInfoTest, NvramReadFailureGivesTheDefaultNames) {
  SetNames("6202-B0", "Corvexium C480");
  FailNvramReadsOfPage0();
  CardInfo info;
  std::memset(&info, 0xEE, sizeof(info));
  EXPECT_EQ(GetCardInfo(0, &info), 1u);
  EXPECT_EQ(std::string(info.boardName, 16), std::string("Corvexium\0\0\0\0\0\0\0", 16));
  EXPECT_EQ(std::string(info.chipName, 16), std::string(16, '\0'));
  // The rest of the record was filled all the same.
  EXPECT_EQ(info.adapterInfo.adapterHandle, 0x01000001u);
}

TEST_F(CardInfoTest, PageThatCannotBeSizedLeavesTheNames) {
  card_->RemovePage(9, 0);
  CardInfo info;
  std::memset(&info, 0xEE, sizeof(info));
  EXPECT_EQ(GetCardInfo(0, &info), 1u);
  EXPECT_EQ(static_cast<uint8_t>(info.boardName[0]), 0xEE);
  EXPECT_EQ(static_cast<uint8_t>(info.chipName[0]), 0xEE);
  EXPECT_EQ(info.adapterInfo.adapterHandle, 0x01000001u);
}

TEST_F(CardInfoTest, ShortPageIsAFailedRead) {
  // A page that ends inside the board name is no page to take names from:
  // the defaults stand and the read counts as failed. One that just holds
  // the board name gives both names.
  struct Case {
    uint32_t bytes;
    uint32_t result;
    std::string board;
    std::string chip;
  };
  const Case cases[] = {
      {32, 1, std::string("Corvexium\0\0\0\0\0\0\0", 16), std::string(16, '\0')},
      {40, 1, std::string("Corvexium\0\0\0\0\0\0\0", 16), std::string(16, '\0')},
      {44, 0, std::string("Corvexium C480\0\0", 16), std::string("6202-B0\0\0\0\0\0\0\0\0\0", 16)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    SetNames("6202-B0", "Corvexium C480");
    card_->ClearFaults();
    card_->CutPage(9, 0, 0, c.bytes);
    CardInfo info;
    std::memset(&info, 0xEE, sizeof(info));
    EXPECT_EQ(GetCardInfo(0, &info), c.result);
    EXPECT_EQ(std::string(info.boardName, 16), c.board);
    EXPECT_EQ(std::string(info.chipName, 16), c.chip);
  }
}

TEST_F(CardInfoTest, FailuresOfPage5AndFactsDoNotCount) {
  card_->RemovePage(9, 5);
  CardInfo info;
  std::memset(&info, 0xEE, sizeof(info));
  EXPECT_EQ(GetCardInfo(0, &info), 0u);
  EXPECT_EQ(info.mfgPage5[0], 0xEE);
}

TEST_F(CardInfoTest, UnknownAdapterIndex) {
  CardInfo info;
  std::memset(&info, 0xEE, sizeof(info));
  EXPECT_EQ(GetCardInfo(1, &info), 1u);
  EXPECT_EQ(info.adapterIndex, 1u);
  EXPECT_EQ(static_cast<uint8_t>(info.boardName[0]), 0xEE);
  EXPECT_EQ(GetCardInfo(0, nullptr), 1u);
}

}  // namespace
