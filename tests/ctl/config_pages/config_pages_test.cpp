// The CONFIG message and the page buffer convention.
#include <cstring>
#include <utility>
#include <vector>

#include "ctl/config_pages/config_pages.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/frames/config_frame.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class ConfigPages : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
    // IOC page 8 as a 64-byte page whose three copies differ.
    emu::ConfigPage page;
    page.current = MakePage(1, 8, 64, 0x10);
    page.defaults = MakePage(1, 8, 64, 0x20);
    page.nvram = MakePage(1, 8, 64, 0x30);
    card().model().FirstAdapter()->pages[emu::PageKey{1, 8, 0, 0}] = page;
  }

  std::vector<const emu::LoggedCall*> Configs() const { return Commands(0x04); }

  LibHandle adapter_ = 0;
};

TEST_F(ConfigPages, SizeQuerySendsOneHeaderRequest) {
  const emu::ConfigPage* page = card().model().FirstAdapter()->FindPage(9, 0);
  ASSERT_NE(page, nullptr);
  uint32_t size = 0;
  EXPECT_EQ(ReadManufacturingPage0(&adapter_, nullptr, &size, 0), kLibOk);
  EXPECT_EQ(size, page->current.size());
  auto configs = Configs();
  ASSERT_EQ(configs.size(), 1u);
  const std::vector<uint8_t>& f = configs[0]->frame;
  ASSERT_EQ(f.size(), 28u);
  EXPECT_EQ(f[0], 0);         // action: header
  EXPECT_EQ(f[22], 0);        // page number
  EXPECT_EQ(f[23], 9);        // page type
  EXPECT_EQ(Le32(f, 24), 0u); // page address
  EXPECT_EQ(configs[0]->dataInSize, 0u);
  EXPECT_EQ(configs[0]->dataOutSize, 0u);
  EXPECT_EQ(configs[0]->maxReplyBytes, 24u);
}

TEST_F(ConfigPages, MissingBufferAnswersTheSize) {
  uint32_t size = 0;
  EXPECT_EQ(ReadIocPage8(&adapter_, nullptr, &size, 1), kLibBufferTooSmall);
  EXPECT_EQ(size, 64u);
  uint8_t buffer[64];
  size = 0;
  EXPECT_EQ(ReadIocPage8(&adapter_, buffer, &size, 3), kLibBufferTooSmall);
  EXPECT_EQ(size, 64u);
  EXPECT_EQ(Configs().size(), 2u);  // the header requests only
}

TEST_F(ConfigPages, SmallBufferReceivesThePagesStart) {
  uint8_t buffer[20];
  std::memset(buffer, 0xEE, sizeof(buffer));
  uint32_t size = 16;
  EXPECT_EQ(ReadIocPage8(&adapter_, buffer, &size, 1), kLibOk);
  EXPECT_EQ(size, 64u);
  std::vector<uint8_t> expected = MakePage(1, 8, 64, 0x10);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 16), std::vector<uint8_t>(expected.begin(), expected.begin() + 16));
  EXPECT_EQ(buffer[16], 0xEE);
  auto configs = Configs();
  ASSERT_EQ(configs.size(), 2u);
  EXPECT_EQ(configs[1]->frame[0], 1);
  EXPECT_EQ(configs[1]->dataInSize, 64u);  // the library reads the whole page
  EXPECT_EQ(configs[1]->frame[21], 16);    // the header step's page length goes out again
}

TEST_F(ConfigPages, ReadKindsSelectTheCopy) {
  struct Case {
    uint32_t kind;
    uint8_t action;
    uint8_t fill;
  } cases[] = {{1, 1, 0x10}, {2, 5, 0x20}, {3, 6, 0x30}};
  for (const Case& c : cases) {
    card().ClearLog();
    uint8_t buffer[64] = {};
    uint32_t size = sizeof(buffer);
    EXPECT_EQ(ReadIocPage8(&adapter_, buffer, &size, c.kind), kLibOk);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 64), MakePage(1, 8, 64, c.fill)) << c.kind;
    ASSERT_EQ(Configs().size(), 2u);
    EXPECT_EQ(Configs()[1]->frame[0], c.action);
  }
}

TEST_F(ConfigPages, RefusedRequests) {
  uint8_t buffer[64];
  uint32_t size = sizeof(buffer);
  EXPECT_EQ(ReadConfigPage(&adapter_, 0, 15, 0, 0, 1, buffer, &size), kLibBadParameter);
  EXPECT_EQ(Configs().size(), 0u);
  EXPECT_EQ(ReadSasDevicePage0(&adapter_, buffer, &size, 1, 1, 0x0009), kLibSasDeviceForm);
  EXPECT_EQ(Configs().size(), 0u);
  // A read kind beyond 3 is refused once the header is known.
  EXPECT_EQ(ReadIocPage8(&adapter_, buffer, &size, 4), kLibBadParameter);
  EXPECT_EQ(Configs().size(), 1u);
  EXPECT_EQ(size, sizeof(buffer));
  EXPECT_EQ(ReadConfigPage(&adapter_, 0, 1, 8, 0, 1, buffer, nullptr), kLibBadParameter);
}

TEST_F(ConfigPages, ControllerAnswersMapToStatuses) {
  struct Case {
    uint16_t answer;
    uint32_t logInfo;
    LibStatus status;
  } cases[] = {
      {0x0020, 0, kLibConfigInvalidAction}, {0x0021, 0, kLibConfigInvalidType},
      {0x0022, 0, kLibPageNotPresent},      {0x8022, 0x12345678, kLibPageNotPresent},
      {0x0001, 0, kLibPageNotPresent},      {0x0023, 0, kLibFailure},
      {0x0004, 0, kLibFailure},
  };
  for (const Case& c : cases) {
    card().AnswerFunction(0x04, c.answer, c.logInfo, 1);
    uint8_t buffer[64];
    std::memset(buffer, 0xEE, sizeof(buffer));
    uint32_t size = 1234;
    EXPECT_EQ(ReadIocPage8(&adapter_, buffer, &size, 1), c.status) << std::hex << c.answer;
    // A failed header step leaves the size and the buffer alone.
    EXPECT_EQ(size, 1234u);
    EXPECT_EQ(buffer[0], 0xEE);
  }
}

TEST_F(ConfigPages, FailedReadLeavesTheBufferUntouched) {
  card().AnswerConfigPage(1, 8, 0, 0x0004, 0, -1);
  uint8_t buffer[64];
  std::memset(buffer, 0xEE, sizeof(buffer));
  uint32_t size = sizeof(buffer);
  EXPECT_NE(ReadIocPage8(&adapter_, buffer, &size, 1), kLibOk);
  EXPECT_EQ(buffer[0], 0xEE);
  card().ClearFaults();
  card().RemovePage(1, 8);
  EXPECT_EQ(ReadIocPage8(&adapter_, buffer, &size, 1), kLibPageNotPresent);
  EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(ConfigPages, ExtendedPagesTakeTheirSizeFromTheExtendedLength) {
  std::vector<uint8_t> page = MakeExtPage(0x10, 0, 40, 0x50);
  card().model().FirstAdapter()->SetPage(emu::PageKey{15, 0, 0x10, 0}, page);
  uint32_t size = 0;
  EXPECT_EQ(ReadSasIoUnitPage0(&adapter_, nullptr, &size, 0), kLibOk);
  EXPECT_EQ(size, 40u);
  std::vector<uint8_t> buffer(40);
  EXPECT_EQ(ReadSasIoUnitPage0(&adapter_, buffer.data(), &size, 1), kLibOk);
  EXPECT_EQ(buffer, page);
  auto configs = Configs();
  ASSERT_EQ(configs.size(), 3u);
  EXPECT_EQ(configs[1]->frame[6], 0x10);   // extended type
  EXPECT_EQ(configs[1]->frame[23], 15);
  EXPECT_EQ(Le16(configs[2]->frame, 4), 10);  // the extended length goes out with the read
}

TEST_F(ConfigPages, WritesGoToTheChosenCopy) {
  struct Case {
    uint32_t kind;
    uint8_t action;
  } cases[] = {{1, 2}, {2, 3}, {3, 4}};
  for (const Case& c : cases) {
    card().ClearLog();
    std::vector<uint8_t> bytes = MakePage(1, 8, 64, static_cast<uint8_t>(0x60 + c.kind));
    uint32_t size = 64;
    EXPECT_EQ(WriteConfigPage(&adapter_, 0, 1, 8, 0, c.kind, bytes.data(), &size), kLibOk);
    auto configs = Configs();
    ASSERT_EQ(configs.size(), 2u);
    EXPECT_EQ(configs[1]->frame[0], c.action);
    EXPECT_EQ(configs[1]->dataOut, bytes);
    const emu::ConfigPage* page = card().model().FirstAdapter()->FindPage(1, 8);
    const std::vector<uint8_t>& copy = c.kind == 1 ? page->current : c.kind == 2 ? page->defaults : page->nvram;
    EXPECT_EQ(copy, bytes) << c.kind;
  }
  uint8_t bytes[64] = {};
  uint32_t size = 64;
  EXPECT_EQ(WriteConfigPage(&adapter_, 0, 1, 8, 0, 0, bytes, &size), kLibBadParameter);
  EXPECT_EQ(WriteConfigPage(&adapter_, 0, 1, 8, 0, 4, bytes, &size), kLibBadParameter);
  EXPECT_EQ(WriteConfigPage(&adapter_, 0, 15, 0, 0, 1, bytes, &size), kLibBadParameter);
  EXPECT_EQ(WriteConfigPage(&adapter_, 0, 1, 8, 0, 1, nullptr, &size), kLibBadParameter);
}

TEST_F(ConfigPages, CutPageIsCopiedAsFarAsItGoes) {
  card().CutPage(1, 8, 0, 24);
  uint8_t buffer[64];
  std::memset(buffer, 0xEE, sizeof(buffer));
  uint32_t size = sizeof(buffer);
  EXPECT_EQ(ReadIocPage8(&adapter_, buffer, &size, 1), kLibOk);
  EXPECT_EQ(size, 24u);
  EXPECT_EQ(buffer[24], 0xEE);
}

}  // namespace
}  // namespace ctltest

namespace ctltest {
namespace {

// The library's whole-page copy: what it holds, which step failed, and that
// a moved copy takes the buffer with it.
TEST_F(ConfigPages, PageCopyHoldsThePageOrTellsTheFailedStep) {
  PageCopy page(g_libContext);
  ASSERT_EQ(page.Read(&adapter_, 0, 1, 8, 0, kReadNvram), kLibOk);
  EXPECT_EQ(page.failedStep(), PageCopyStep::kNone);
  ASSERT_EQ(page.size(), 64u);
  EXPECT_EQ(std::vector<uint8_t>(page.data(), page.data() + 64), MakePage(1, 8, 64, 0x30));
  PageCopy moved = std::move(page);
  EXPECT_EQ(moved.size(), 64u);
  EXPECT_EQ(page.size(), 0u);
  EXPECT_EQ(page.data(), nullptr);

  card().RemovePage(1, 8);
  EXPECT_EQ(moved.Read(&adapter_, 0, 1, 8, 0, kReadCurrent), kLibPageNotPresent);
  EXPECT_EQ(moved.failedStep(), PageCopyStep::kSizeQuery);
  EXPECT_EQ(moved.size(), 0u);

  // An empty page answers as a read into no buffer, after the size query
  // alone.
  card().ClearFaults();
  card().CutPage(1, 8, 0, 0);
  size_t before = Configs().size();
  EXPECT_EQ(moved.Read(&adapter_, 0, 1, 8, 0, kReadCurrent), kLibBufferTooSmall);
  EXPECT_EQ(moved.failedStep(), PageCopyStep::kRead);
  EXPECT_EQ(moved.announced(), 0u);
  EXPECT_EQ(Configs().size(), before + 1);
}

}  // namespace
}  // namespace ctltest
