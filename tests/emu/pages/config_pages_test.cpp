// CONFIG: the header and read steps, the three copies, missing pages,
// extended pages and page-address forms.
#include <gtest/gtest.h>

#include <string>

#include "emu/host/emulator.h"
#include "raw_port.h"

using namespace rawtest;

namespace {

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = &emu::Install(emu::DefaultHost());
    fd_ = card_->OpenNode("/dev/qmx2ctl_cx", os::NodeAccess::kReadWrite);
  }
  void TearDown() override { card_->CloseNode(fd_); }
  emu::Emulator& card() { return *card_; }
  emu::AdapterModel& adapter() { return *card_->model().FirstAdapter(); }
  PageRead Read(uint8_t type, uint8_t number, uint8_t ext = 0, uint32_t address = 0,
                uint8_t action = 1) {
    return ReadPage(*card_, fd_, type, number, ext, address, action);
  }
  Sent Send(const Message& m) { return SendCommand(*card_, fd_, m); }

  emu::Emulator* card_ = nullptr;
  int fd_ = -1;
};

std::string Text(const std::vector<uint8_t>& page, size_t at, size_t width) {
  std::string s(reinterpret_cast<const char*>(page.data() + at), width);
  return s.substr(0, s.find('\0'));
}

TEST_F(ConfigTest, TheDefaultPagesAnnounceTheirLengthsAndReadWhole) {
  struct Case {
    uint8_t type, number;
    uint32_t bytes;
  } cases[] = {{0, 1, 8}, {0, 7, 24}, {9, 0, 76}, {9, 5, 144}, {9, 10, 104}};
  for (const Case& c : cases) {
    PageRead r = Read(c.type, c.number);
    ASSERT_EQ(r.headerStatus, 0) << int(c.type) << "/" << int(c.number);
    EXPECT_EQ(r.headerReply[2], 6);     // 24-byte reply
    EXPECT_EQ(r.headerReply[3], 0x04);
    EXPECT_EQ(r.headerReply[0], 0);     // action echoed
    EXPECT_EQ(r.headerReply[22], c.number);
    EXPECT_EQ(r.headerReply[23], c.type);
    EXPECT_EQ(r.announcedBytes, c.bytes);
    EXPECT_EQ(r.readStatus, 0);
    ASSERT_EQ(r.bytes.size(), c.bytes);
    EXPECT_EQ(r.bytes[1] * 4u, c.bytes);  // the page's own header agrees
    EXPECT_EQ(r.bytes[2], c.number);
    EXPECT_EQ(r.bytes[3], c.type);
  }
}

TEST_F(ConfigTest, TheDefaultPagesDescribeOneHealthyCorvexium) {
  std::vector<uint8_t> io1 = Read(0, 1).bytes;
  EXPECT_EQ(Get32(io1, 4) & 0x40u, 0u);  // integrated RAID enabled
  std::vector<uint8_t> io7 = Read(0, 7).bytes;
  EXPECT_EQ(io7[6], 8);  // x8 link
  EXPECT_EQ(io7[18], 2);  // Celsius
  std::vector<uint8_t> m0 = Read(9, 0).bytes;
  EXPECT_EQ(Text(m0, 4, 16), "TRIXEL4400");
  EXPECT_EQ(Text(m0, 28, 16), "Corvexium");
  std::vector<uint8_t> m5 = Read(9, 5).bytes;
  EXPECT_EQ(Get64(m5, 16), 0x500605B00C8A4D10ull);
  std::vector<uint8_t> m10 = Read(9, 10).bytes;
  EXPECT_EQ(m10[4], 0x80);
  EXPECT_EQ(m10[5], 7);                  // board type 7
  EXPECT_NE(Get32(m10, 24) & 3u, 1u);    // configured
  EXPECT_EQ(m10[56], 20);                // module life warning
  EXPECT_EQ(m10[57], 10);                // module life error
}

TEST_F(ConfigTest, WritesChangeOnlyTheCopyTheyName) {
  struct Case {
    uint8_t writeAction;
    uint8_t changedRead;
  } cases[] = {{2, 1}, {3, 5}, {4, 6}};
  for (const Case& c : cases) {
    SetUp();
    std::vector<uint8_t> page = Read(0, 1).bytes;
    page[4] = 0x40;  // integrated RAID off
    page[0] = 0x77;  // the controller keeps its own header
    ASSERT_EQ(WritePage(card(), fd_, 0, 1, page, c.writeAction), 0);
    for (uint8_t readAction : {1, 5, 6}) {
      std::vector<uint8_t> now = Read(0, 1, 0, 0, readAction).bytes;
      EXPECT_EQ(now[4], readAction == c.changedRead ? 0x40 : 0x00)
          << "write " << int(c.writeAction) << " read " << int(readAction);
      EXPECT_EQ(now[0], 4);
    }
    TearDown();
  }
}

TEST_F(ConfigTest, MissingPagesTypesAndActionsAreAnswered) {
  Message m;
  m.replyRoom = 24;
  struct Case {
    const char* what;
    std::vector<uint8_t> frame;
    uint16_t status;
  } cases[] = {
      {"page the card lacks", ConfigFrame(0, 9, 3), 0x0022},
      {"read of a page the card lacks", ConfigFrame(1, 9, 3, 0, 0, 1), 0x0022},
      {"unknown action", ConfigFrame(7, 9, 0), 0x0020},
      {"unknown page type", ConfigFrame(0, 3, 0), 0x0021},
      {"type 15 without an extended type", ConfigFrame(0, 15, 0), 0x0021},
      {"unknown extended type", ConfigFrame(0, 15, 0, 0x30), 0x0021},
      {"extended page the card lacks", ConfigFrame(0, 15, 2, 0x10), 0x0022},
      {"read with another length than announced", ConfigFrame(1, 9, 0, 0, 0, 18), 0x0023},
  };
  for (const Case& c : cases) {
    m.frame = c.frame;
    Sent s = Send(m);
    EXPECT_EQ(s.rc, 0) << c.what;
    EXPECT_EQ(s.status(), c.status) << c.what;
  }
  // A short frame is not a CONFIG request at all.
  m.frame = Frame(24, 0x04);
  EXPECT_EQ(Send(m).status(), 0x0007);
}

TEST_F(ConfigTest, AWriteMustBringTheWholePage) {
  std::vector<uint8_t> page = Read(9, 5).bytes;
  std::vector<uint8_t> shortPage(page.begin(), page.begin() + 32);
  shortPage[16] = 0x99;
  EXPECT_EQ(WritePage(card(), fd_, 9, 5, shortPage, 4), 0x0023);
  EXPECT_EQ(Read(9, 5, 0, 0, 6).bytes, page);
}

TEST_F(ConfigTest, AReadIntoASmallerRoomGetsTheStartOfThePage) {
  Message m;
  m.frame = ConfigFrame(1, 9, 0, 0, 0, 19);
  m.replyRoom = 24;
  m.dataInRoom = 16;
  Sent s = Send(m);
  EXPECT_EQ(s.status(), 0);
  EXPECT_TRUE(s.guardsIntact);
  EXPECT_EQ(Text(s.dataIn, 4, 12), "TRIXEL4400");
}

TEST_F(ConfigTest, ExtendedPagesAnnounceTheirLengthInTheReply) {
  std::vector<uint8_t> page(20, 0);
  page[0] = 7;     // version
  page[2] = 1;     // number
  page[3] = 15;    // extended
  Put16(page, 4, 5);
  page[6] = 0x10;  // SAS IO unit
  page[12] = 0xAB;
  adapter().SetPage(emu::PageKey{15, 1, 0x10, 0}, page);

  PageRead r = Read(15, 1, 0x10);
  ASSERT_EQ(r.headerStatus, 0);
  EXPECT_EQ(Get16(r.headerReply, 4), 5);  // extended page length, words
  EXPECT_EQ(r.headerReply[6], 0x10);
  EXPECT_EQ(r.headerReply[21], 0);        // no length in the header of an extended page
  EXPECT_EQ(r.headerReply[23], 15);
  EXPECT_EQ(r.readStatus, 0);
  EXPECT_EQ(r.bytes, page);

  page[12] = 0xCD;
  EXPECT_EQ(WritePage(card(), fd_, 15, 1, page, 4, 0x10), 0);
  EXPECT_EQ(Read(15, 1, 0x10, 0, 6).bytes[12], 0xCD);
  EXPECT_EQ(Read(15, 1, 0x10, 0, 1).bytes[12], 0xAB);
  // Another extended type with the same number is another page.
  EXPECT_EQ(Read(15, 1, 0x15).headerStatus, 0x0022);
}

TEST_F(ConfigTest, PageAddressFormsWalkAndPick) {
  // Pages put into the store, on a card without modules or volumes.
  adapter().modules.clear();
  adapter().raid = emu::RaidModel{};
  auto devicePage = [](uint16_t handle) {
    std::vector<uint8_t> page(56, 0);
    page[3] = 15;
    Put16(page, 4, 14);
    page[6] = 0x12;
    Put16(page, 24, handle);
    return page;
  };
  for (uint16_t handle : {9, 10, 12}) {
    adapter().SetPage(emu::PageKey{15, 0, 0x12, handle}, devicePage(handle));
  }
  // Form 0 walks: each answer's DevHandle is the next start.
  std::vector<uint16_t> walked;
  uint32_t address = 0xFFFF;
  while (true) {
    PageRead r = Read(15, 0, 0x12, address);
    if (r.headerStatus != 0) {
      EXPECT_EQ(r.headerStatus, 0x0022);
      break;
    }
    uint16_t handle = Get16(r.bytes, 24);
    walked.push_back(handle);
    address = handle;
    ASSERT_LT(walked.size(), 5u);
  }
  EXPECT_EQ(walked, (std::vector<uint16_t>{9, 10, 12}));
  EXPECT_EQ(Get16(Read(15, 0, 0x12, 0x2000000A).bytes, 24), 10);  // form 2: this handle
  EXPECT_EQ(Read(15, 0, 0x12, 0x2000000B).headerStatus, 0x0022);
  EXPECT_EQ(Read(15, 0, 0x12, 0x1000000A).headerStatus, 0x0022);  // no form 1 for devices

  // RAID physical disks: by number, or by the DevHandle the page carries at 4.
  std::vector<uint8_t> disk(120, 0);
  disk[1] = 30;
  disk[3] = 10;
  Put16(disk, 4, 0x11);
  disk[7] = 2;
  adapter().SetPage(emu::PageKey{10, 0, 0, 2}, disk);
  EXPECT_EQ(Read(10, 0, 0, 0xFF).bytes[7], 2);         // first disk
  EXPECT_EQ(Read(10, 0, 0, 0x10000002).bytes[7], 2);   // disk 2
  EXPECT_EQ(Read(10, 0, 0, 0x20000011).bytes[7], 2);   // DevHandle 0x11
  EXPECT_EQ(Read(10, 0, 0, 2).headerStatus, 0x0022);   // nothing after disk 2
  // Pages a card has once ignore the address.
  EXPECT_EQ(Read(9, 0, 0, 0x12345678).headerStatus, 0);
}

TEST_F(ConfigTest, AProviderMayGeneratePagesOnRequest) {
  class Counter : public emu::PageProvider {
   public:
    emu::ConfigPage* Find(emu::AdapterModel& adapter, const emu::PageRequest& request) override {
      std::vector<uint8_t> page(8, 0);
      page[1] = 2;
      page[2] = request.number;
      page[3] = request.type;
      page[4] = static_cast<uint8_t>(++calls);
      adapter.SetPage(emu::PageKey{request.type, request.number, 0, 0}, page);
      return adapter.FindPage(request.type, request.number);
    }
    int calls = 0;
  };
  card().RegisterPageProvider(1, 0, std::make_unique<Counter>());
  PageRead r = Read(1, 6);
  EXPECT_EQ(r.readStatus, 0);
  EXPECT_EQ(r.bytes[4], 2);  // computed again for the read step
}

}  // namespace
