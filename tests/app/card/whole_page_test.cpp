// The application's one page read: what it holds, and how each step's
// failure is answered, against the emulated card.
#include <gtest/gtest.h>

#include "app/card/whole_page.h"
#include "app_test_support.h"
#include "card_fixture.h"

namespace {

using app_test::kTitle;

class WholePage : public app_test::CardFixture {};

TEST_F(WholePage, HoldsThePageAsTheControllerHasIt) {
  const std::vector<uint8_t>& nvram = model().FindPage(9, 10)->nvram;
  PageCopy page;
  PageRead read = ReadWholePage(adapter_, {9, 10}, 3, &page);
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(page.size(), nvram.size());
  EXPECT_EQ(std::vector<uint8_t>(page.data(), page.data() + page.size()), nvram);
  // The size query, then the header and the read.
  EXPECT_EQ(Commands(0x04).size(), 3u);

  // A page that reads shorter than announced holds only what was read.
  card().CutPage(9, 10, 0, 16);
  ASSERT_TRUE(ReadWholePage(adapter_, {9, 10}, 3, &page).ok());
  EXPECT_EQ(page.size(), 16u);
  EXPECT_TRUE(page.Holds(12, 4));
  EXPECT_FALSE(page.Holds(16, 1));
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(WholePage, EachFailingStepHasItsAnswer) {
  struct Case {
    const char* name;
    void (*arm)(emu::Emulator&);
    PageReadResult result;
    LibStatus status;
    size_t requests;  // CONFIG requests sent
  } cases[] = {
      {"page missing", [](emu::Emulator& e) { e.RemovePage(9, 10); }, PageReadResult::kSizeQueryFailed, 258, 1},
      {"size query refused", [](emu::Emulator& e) { e.AnswerConfigPage(9, 10, 0, 0x0004, 0, 1); },
       PageReadResult::kSizeQueryFailed, 1, 1},
      // No bytes announced: nothing is read.
      {"empty page", [](emu::Emulator& e) { e.CutPage(9, 10, 0, 0); }, PageReadResult::kEmpty, 0, 1},
      {"read refused",
       [](emu::Emulator& e) {
         emu::Fault f;
         f.kind = emu::FaultKind::kAnswer;
         f.function = 0x04;
         f.iocStatus = 0x0004;
         f.pageType = 9;
         f.pageNumber = 10;
         f.action = 6;
         e.ArmFault(f);
       },
       PageReadResult::kReadFailed, 1, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    card().ClearFaults();
    card().ClearLog();
    c.arm(card());
    PageCopy page;
    PageRead read = ReadWholePage(adapter_, {9, 10}, 3, &page);
    EXPECT_EQ(read.result, c.result);
    EXPECT_EQ(read.status, c.status);
    EXPECT_FALSE(read.ok());
    EXPECT_EQ(page.size(), 0u);
    EXPECT_EQ(Commands(0x04).size(), c.requests);
  }
  EXPECT_EQ(card().TakeOutput(), "");
}

}  // namespace
