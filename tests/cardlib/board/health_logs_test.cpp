// The health counters of a module that speaks SAS, from its LOG SENSE pages.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "emu/controller/device_frames.h"
#include "emu/controller/handlers.h"
#include "emu/card_file/named_cards.h"
#include "emu/modules/scsi_log_pages.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {

using cardlib_test::OpenCard;
using cardlib_test::OpenedCard;
using cardlib_test::SsdHandle;

constexpr uint8_t kSasSlot = 7;

void PutBe16(std::vector<uint8_t>* p, size_t at, uint16_t v) {
  (*p)[at] = static_cast<uint8_t>(v >> 8);
  (*p)[at + 1] = static_cast<uint8_t>(v);
}
void PutBe32(std::vector<uint8_t>* p, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*p)[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// A log page of the given size: code at 0, the length of what follows at 2.
std::vector<uint8_t> LogPage(uint8_t code, size_t size) {
  std::vector<uint8_t> page(size, 0);
  page[0] = code;
  PutBe16(&page, 2, static_cast<uint16_t>(size - 4));
  return page;
}

class HealthLogs : public ::testing::Test {
 protected:
  void SetUp() override {
    c_ = OpenCard(emu::SasModuleHost());
    device_ = SsdHandle(c_.vx, kSasSlot);
    ASSERT_NE(device_, kNoModuleHandle);
    c_.card->ClearLog();
  }
  void TearDown() override { EXPECT_EQ(emu::Current().OpenDescriptors(), 0); }

  // LOG SENSE of these pages is answered with the bytes given (IOCStatus
  // 0x45 when shorter than asked), or CHECK CONDITION for none; other
  // pages and commands as the module answers them.
  void AnswerLogPages(std::map<uint8_t, std::optional<std::vector<uint8_t>>> pages) {
    namespace f = emu::qmx::scsi_io;
    for (uint8_t function : {uint8_t{0x00}, uint8_t{0x16}}) {
      emu::FunctionHandler standard = function == 0 ? emu::ScsiIoHandler() : emu::RaidScsiPassthroughHandler();
      c_.card->RegisterFunction(
          function, emu::FunctionHandler{standard.minimumFrameBytes, [standard, pages](emu::CommandRequest& request,
                                                                                    emu::CommandAnswer& answer) {
            const uint8_t* cdb = request.frame.data() + f::kCdb;
            auto found = pages.find(static_cast<uint8_t>(cdb[2] & 0x3F));
            if (cdb[0] != 0x4D || found == pages.end()) {
              standard.handle(request, answer);
              return;
            }
            answer.reply = emu::NewReply(request, f::kReplyBytes);
            if (!found->second) {
              answer.reply[f::kReplyScsiStatus] = 0x02;
              answer.sense = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0, 0, 0, 0, 0};
              return;
            }
            answer.dataIn = *found->second;
            if (answer.dataIn.size() < request.dataInSize) emu::SetReplyStatus(&answer.reply, 0x0045);
          }});
    }
  }

  size_t LogSenseCount() {
    size_t n = 0;
    for (const emu::LoggedCall& call : c_.card->log()) {
      n += call.isCommand && (call.function == 0x00 || call.function == 0x16) &&
           call.frame[emu::qmx::scsi_io::kCdb] == 0x4D;
    }
    return n;
  }

  OpenedCard c_;
  uint32_t device_ = 0;
};

std::vector<std::pair<uint8_t, uint32_t>> Entries(const SasSmartRecord& record) {
  std::vector<std::pair<uint8_t, uint32_t>> out;
  for (const SasSmartEntry& e : record.entry) {
    if (e.attribute != 0) out.emplace_back(e.attribute, e.value);
  }
  return out;
}

TEST_F(HealthLogs, CountersOfTheSasModule) {
  SasSmartRecord record{};
  ASSERT_EQ(CollectSSDHealthData(device_, &record), 0u);
  EXPECT_EQ(LogSenseCount(), 5u);
  // The attribute numbers in page order, each with the module's counter.
  const emu::ModuleModel* module = c_.card->Module(kSasSlot);
  std::vector<uint8_t> page2f, page0e, page19;
  ASSERT_TRUE(emu::SasLogPage(*module, 0x2F, &page2f));
  ASSERT_TRUE(emu::SasLogPage(*module, 0x0E, &page0e));
  ASSERT_TRUE(emu::SasLogPage(*module, 0x19, &page19));
  std::vector<std::pair<uint8_t, uint32_t>> entries = Entries(record);
  ASSERT_GE(entries.size(), 6u);
  size_t after2f = 0;
  while (after2f < entries.size() && entries[after2f].first != 19) ++after2f;
  ASSERT_LT(after2f + 5, entries.size());
  EXPECT_EQ(entries[after2f].second, GetLe32(page2f.data(), 12));
  EXPECT_EQ(entries[after2f + 1], std::make_pair(uint8_t{4}, GetBe32(page0e.data(), 36)));
  EXPECT_EQ(entries[after2f + 2], std::make_pair(uint8_t{15}, GetBe32(page19.data(), 28)));
  EXPECT_EQ(entries[after2f + 3], std::make_pair(uint8_t{16}, GetBe32(page19.data(), 24)));
  EXPECT_EQ(entries[after2f + 4], std::make_pair(uint8_t{17}, GetBe32(page19.data(), 36)));
  EXPECT_EQ(entries[after2f + 5], std::make_pair(uint8_t{18}, GetBe32(page19.data(), 32)));
  // Page 0x2F's recognised parameters come first.
  for (size_t i = 0; i < after2f; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NE(entries[i].first, 0u);
  }
}

TEST_F(HealthLogs, PagesOfOurOwn) {
  std::vector<uint8_t> p2f = LogPage(0x2F, 424);
  const uint16_t codes[17] = {1, 2, 5, 9, 13, 32, 177, 180, 182, 194, 195, 233, 0, 7, 1, 300, 0xFFFF};
  for (uint32_t i = 0; i < 17; ++i) {
    PutBe16(&p2f, 16 + 24 * i, codes[i]);
    PutBe32(&p2f, 16 + 24 * i + 8, 1000 + i);
  }
  PutLe32(p2f.data(), 12, 0x01020304);  // kept as the module stores it
  std::vector<uint8_t> p0e = LogPage(0x0E, 40);
  PutBe32(&p0e, 36, 77);
  std::vector<uint8_t> p19 = LogPage(0x19, 164);
  PutBe32(&p19, 24, 16);
  PutBe32(&p19, 28, 15);
  PutBe32(&p19, 32, 18);
  PutBe32(&p19, 36, 17);
  // Code 6 twice: the first counts.
  std::vector<uint8_t> p36 = LogPage(0x36, 220);
  PutBe16(&p36, 4 + 8 * 3, 6);
  PutBe32(&p36, 4 + 8 * 3 + 4, 3600);
  PutBe16(&p36, 4 + 8 * 26, 6);
  PutBe32(&p36, 4 + 8 * 26 + 4, 9);
  // Short (IOCStatus 0x45 answers it), code 6 in its last parameter.
  std::vector<uint8_t> p02 = LogPage(0x02, 28);
  PutBe16(&p02, 4 + 16, 6);
  PutBe32(&p02, 4 + 16 + 4, 222);
  AnswerLogPages({{0x2F, p2f}, {0x0E, p0e}, {0x19, p19}, {0x36, p36}, {0x02, p02}});

  SasSmartRecord record;
  std::memset(&record, 0, sizeof(record));
  ASSERT_EQ(CollectSSDHealthData(device_, &record), 0u);
  std::vector<std::pair<uint8_t, uint32_t>> expected = {
      {1, 1000}, {2, 1002}, {3, 1003}, {5, 1004}, {14, 1005}, {13, 1006}, {6, 1007}, {8, 1008}, {9, 1009},
      {10, 1010}, {20, 1011}, {1, 1014}, {19, 0x01020304}, {4, 77}, {15, 15}, {16, 16}, {17, 17}, {18, 18},
      {11, 3600}, {7, 222}};
  EXPECT_EQ(Entries(record), expected);
}

TEST_F(HealthLogs, PagesWithoutTheirParameters) {
  // No listed code on page 0x2F: attribute 19 all the same. No code 6 on
  // 0x36 and 0x02: no entries for them, and no failure. A page that stops
  // short is taken as far as it goes.
  std::vector<uint8_t> p2f = LogPage(0x2F, 424);
  for (uint32_t i = 0; i < 17; ++i) PutBe16(&p2f, 16 + 24 * i, static_cast<uint16_t>(400 + i));
  PutLe32(p2f.data(), 12, 55);
  std::vector<uint8_t> p36 = LogPage(0x36, 220);
  for (uint32_t i = 0; i < 27; ++i) PutBe16(&p36, 4 + 8 * i, 5);
  AnswerLogPages({{0x2F, p2f}, {0x0E, LogPage(0x0E, 20)}, {0x19, LogPage(0x19, 164)}, {0x36, p36},
                  {0x02, LogPage(0x02, 28)}});
  SasSmartRecord record{};
  ASSERT_EQ(CollectSSDHealthData(device_, &record), 0u);
  std::vector<std::pair<uint8_t, uint32_t>> expected = {{19, 55}, {4, 0}, {15, 0}, {16, 0}, {17, 0}, {18, 0}};
  EXPECT_EQ(Entries(record), expected);
}

TEST_F(HealthLogs, StopsAtTheFirstPageThatFails) {
  AnswerLogPages({{0x19, std::nullopt}});
  SasSmartRecord record{};
  EXPECT_EQ(CollectSSDHealthData(device_, &record), 1u);
  std::vector<std::pair<uint8_t, uint32_t>> entries = Entries(record);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back().first, 4u);  // page 0x0E's entry is the last one kept
  // 0x2F, 0x0E, then 0x19 with its retries; 0x36 and 0x02 are not asked.
  EXPECT_EQ(LogSenseCount(), 2u + 3u);

  c_.card->ClearLog();
  c_.card->AnswerFunction(0x00, 0x0004, 0, -1);
  c_.card->AnswerFunction(0x16, 0x0004, 0, -1);
  SasSmartRecord none{};
  EXPECT_EQ(CollectSSDHealthData(device_, &none), 1u);
  EXPECT_TRUE(Entries(none).empty());
  EXPECT_EQ(CollectSSDHealthData(device_, nullptr), 1u);
}

}  // namespace
