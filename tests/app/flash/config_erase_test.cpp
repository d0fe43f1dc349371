// The configuration erase around a firmware download: manufacturing pages
// 0 and 1 kept across the toolbox clean, every step failing in turn, and
// the page 1 reader.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/card/vpd_page.h"
#include "app/flash/config_erase.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "card_fixture.h"
#include "emu/controller/command_handler.h"
#include "emu/controller/handlers.h"

namespace {

constexpr uint8_t kConfig = 0x04;
constexpr uint8_t kDownload = 0x09;
constexpr uint8_t kToolbox = 0x17;
constexpr int kWriteNvram = 4;
constexpr int kReadNvram = 6;

const std::string kPagesRead =
    "\t\tManufacturing Page 0 read successfully.\n\n"
    "\t\tManufacturing Page 1 read successfully.\n\n";
const std::string kErase = "\t\tErasing Persistent Configuration Region...\n\n";
const std::string kErased =
    "\t\tErase Flash Operation Successful.\n\n"
    "\t\tBeginning Firmware Download...\n\n";
const std::string kFlashed =
    "\t\tFirmware Download Successful.\n\n"
    "\t\tVerifying Download...\n\n"
    "\t\tFirmware Flash Successful!\n\n"
    "\t\tResetting Adapter...\n\n"
    "\t\tAdapter Successfully Reset.\n\n"
    "\t\tFlash Firmware Image Successful.\n\n";
const std::string kRestored =
    "\t\tManufacturing page 0 restored successfully.\n\n"
    "\t\tManufacturing page 1 restored successfully.\n\n";

class ConfigErase : public app_test::CardFixture {
 public:
  void SetUp() override {
    CardFixture::SetUp();
    SelectedController = 1;
    image_ = Pattern(0x9000, 11);
    oldFirmware_ = model().images[1].bytes;
    page0_ = model().FindPage(9, 0)->nvram;
    page1_ = model().FindPage(9, 1)->nvram;
  }
  void FailPage(int number, int action) {
    emu::Fault fault;
    fault.kind = emu::FaultKind::kAnswer;
    fault.function = kConfig;
    fault.pageType = 9;
    fault.pageNumber = number;
    fault.action = action;
    fault.iocStatus = 0x0022;
    card().ArmFault(fault);
  }
  // The card information reads page 0 first: only the read after it fails.
  void FailSecondPage0Read() {
    emu::FunctionHandler original = emu::ConfigHandler();
    auto reads = std::make_shared<int>(0);
    card().RegisterFunction(kConfig, {original.minimumFrameBytes, [=](emu::CommandRequest& request,
                                                                      emu::CommandAnswer& answer) {
                                        if (request.frame[0] == kReadNvram && request.frame[22] == 0 &&
                                            ++*reads == 2) {
                                          answer.reply = emu::NewReply(request, 24);
                                          return emu::SetReplyStatus(&answer.reply, 0x0022);
                                        }
                                        original.handle(request, answer);
                                      }});
  }
  uint32_t Run(uint32_t skipRestore = 0) {
    return EraseConfigAndFlash(image_.data(), static_cast<uint32_t>(image_.size()), skipRestore);
  }
  // CONFIG writes sent, by page number.
  std::vector<uint8_t> PagesWritten() const {
    std::vector<uint8_t> numbers;
    for (const emu::LoggedCall* call : Commands(kConfig)) {
      if (call->frame[0] == kWriteNvram && (call->frame[23] & 0x0F) == 9) numbers.push_back(call->frame[22]);
    }
    return numbers;
  }
  std::vector<uint8_t> image_, oldFirmware_, page0_, page1_;
};

TEST_F(ConfigErase, KeepsBothPagesAcrossTheEraseAndFlashesTheImage) {
  ASSERT_NE(page0_, model().FindPage(9, 0)->defaults);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(card().TakeOutput(), kPagesRead + kErase + kErased + kFlashed + kRestored);
  EXPECT_EQ(model().FindPage(9, 0)->nvram, page0_);
  EXPECT_EQ(model().FindPage(9, 1)->nvram, page1_);
  EXPECT_EQ(model().images[1].bytes, image_);
  // The clean: tool 0, function 0x17, the region's flags, 270 s.
  auto cleans = Commands(kToolbox);
  ASSERT_EQ(cleans.size(), 1u);
  EXPECT_EQ(cleans[0]->frame[0], 0);
  EXPECT_EQ(Le32(cleans[0]->frame, 12), 0x20000000u);
  EXPECT_EQ(cleans[0]->timeoutSeconds, 270u);
  EXPECT_EQ(cleans[0]->maxReplyBytes, 20u);
  // Pages read before the clean, written after the download.
  size_t clean = 0, download = 0, firstWrite = 0;
  for (size_t i = 0; i < card().log().size(); ++i) {
    const emu::LoggedCall& call = card().log()[i];
    if (!call.isCommand) continue;
    if (call.function == kToolbox) clean = i;
    if (call.function == kDownload) download = i;
    if (call.function == kConfig && call.frame[0] == kWriteNvram && firstWrite == 0) firstWrite = i;
  }
  EXPECT_LT(clean, download);
  EXPECT_LT(download, firstWrite);
  EXPECT_EQ(PagesWritten(), (std::vector<uint8_t>{0, 1}));
}

TEST_F(ConfigErase, WithoutTheRestoreTheEraseLosesTheIdentity) {
  EXPECT_EQ(Run(1), 0u);
  EXPECT_EQ(card().TakeOutput(), kErase + kErased + kFlashed);
  EXPECT_TRUE(PagesWritten().empty());
  for (const emu::LoggedCall* call : Commands(kConfig)) {
    EXPECT_FALSE((call->frame[23] & 0x0F) == 9 && call->frame[22] == 1);  // manufacturing page 1
  }
  EXPECT_EQ(model().FindPage(9, 0)->nvram, model().FindPage(9, 0)->defaults);
  EXPECT_EQ(model().FindPage(9, 1)->nvram, model().FindPage(9, 1)->defaults);
  EXPECT_EQ(model().images[1].bytes, image_);
}

// Each step failing in turn: what is printed after the steps that went
// through, and what the card holds afterwards.
TEST_F(ConfigErase, EachFailingStepSaysWhatWasWritten) {
  struct Case {
    const char* name;
    void (*arm)(ConfigErase&);
    std::string output;
    bool cleanSent, flashed;
    std::vector<uint8_t> written;  // pages written back
    bool page0Kept, page1Kept;
  };
  const Case cases[] = {
      {"page 0 unreadable", [](ConfigErase& t) { t.FailSecondPage0Read(); },
       "\t\tManufacturing Page 0 read failed.\n\n", false, false, {}, true, true},
      {"page 1 unreadable", [](ConfigErase& t) { t.FailPage(1, kReadNvram); },
       "\t\tManufacturing Page 0 read successfully.\n\n\t\tManufacturing Page 1 read failed.\n\n", false, false,
       {}, true, true},
      {"clean refused", [](ConfigErase& t) { t.card().AnswerFunction(kToolbox, 0x0004, 0); },
       kPagesRead + kErase + "\t\tERROR: Erase Flash Operation Failed.\n\n" + kRestored, true, false, {0, 1}, true,
       true},
      {"download refused", [](ConfigErase& t) { t.card().AnswerFunction(kDownload, 0x0004, 0); },
       kPagesRead + kErase + kErased + "\t\tFirmware Download Failed!\n\n\t\tFlash Firmware Image Failed!\n\n" +
           kRestored,
       true, false, {0, 1}, true, true},
      {"page 0 restore refused", [](ConfigErase& t) { t.FailPage(0, kWriteNvram); },
       kPagesRead + kErase + kErased + kFlashed + "\t\tRestoring manufacturing page 0 failed.\n\n" +
           "\t\tManufacturing page 1 restored successfully.\n\n",
       true, true, {0, 1}, false, true},
      {"page 1 restore refused", [](ConfigErase& t) { t.FailPage(1, kWriteNvram); },
       kPagesRead + kErase + kErased + kFlashed + "\t\tManufacturing page 0 restored successfully.\n\n" +
           "\t\tRestoring Manufacturing page 1 failed.\n\n",
       true, true, {0, 1}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(emu::DefaultHost());
    SelectedController = 1;
    c.arm(*this);
    EXPECT_EQ(Run(), 1u);
    EXPECT_EQ(card().TakeOutput(), c.output);
    EXPECT_EQ(Commands(kToolbox).size(), c.cleanSent ? 1u : 0u);
    EXPECT_EQ(model().images[1].bytes == image_, c.flashed);
    if (!c.flashed) {
      EXPECT_EQ(model().images[1].bytes, oldFirmware_);
    }
    EXPECT_EQ(PagesWritten(), c.written);
    EXPECT_EQ(model().FindPage(9, 0)->nvram == page0_, c.page0Kept);
    EXPECT_EQ(model().FindPage(9, 1)->nvram == page1_, c.page1Kept);
    card().ClearFaults();
  }
}

TEST_F(ConfigErase, TheEraseNeedsSuccessInTheReplyToo) {
  card().RegisterFunction(kToolbox, {16, [](emu::CommandRequest& request, emu::CommandAnswer& answer) {
                                       answer.reply = emu::NewReply(request, 20);
                                       emu::SetReplyStatus(&answer.reply, 0x0002);
                                     }});
  uint16_t status = 0;
  uint32_t logInfo = 0;
  EXPECT_EQ(EraseConfigRegion(adapter_, 0x20000000, &status, &logInfo), 0u);
  EXPECT_EQ(status, 0x0002);
}

TEST_F(ConfigErase, PageOneIsReadWholeFromNvram) {
  AppBuffer page;
  ASSERT_EQ(ReadMfgPage(adapter_, &page, nullptr, nullptr), 1u);
  ASSERT_TRUE(page);
  ASSERT_GE(page.size(), 260u);
  EXPECT_EQ(std::vector<uint8_t>(page.get(), page.get() + 260), page1_);
  for (const emu::LoggedCall* call : Commands(kConfig)) EXPECT_EQ(call->frame[22], 1);

  FailPage(1, kReadNvram);
  EXPECT_EQ(ReadMfgPage(adapter_, &page, nullptr, nullptr), 0u);
  EXPECT_FALSE(page);  // what it held before is let go
  card().ClearFaults();
  card().RemovePage(9, 1);
  page = AppBuffer(8);
  EXPECT_EQ(ReadMfgPage(adapter_, &page, nullptr, nullptr), 0u);
  EXPECT_FALSE(page);
}

}  // namespace
