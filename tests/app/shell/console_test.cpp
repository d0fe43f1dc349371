#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/shell/console.h"
#include "app/shell/param_count.h"
#include "app_test_support.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Message;

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override { card_ = &emu::Install(emu::DefaultHost()); }
  emu::Emulator* card_ = nullptr;
};

TEST_F(ConsoleTest, ConsolePrintWritesMessagesOfAnyLength) {
  ConsolePrint("\n%s: %s.\n", "Title", "Insufficient memory");
  EXPECT_EQ(card_->TakeOutput(), "\nTitle: Insufficient memory.\n");

  const std::string longText(5000, 'x');
  ConsolePrint("[%s]", longText.c_str());
  EXPECT_EQ(card_->TakeOutput(), "[" + longText + "]");
}

TEST_F(ConsoleTest, FormatStringNeverWritesPastTheBuffer) {
  char area[12];
  std::memset(area, '#', sizeof area);
  // An 8-byte buffer followed by guard bytes.
  size_t stored = FormatString(area, 8, "%s-%d", "0123456789", 42);
  EXPECT_EQ(stored, 7u);
  EXPECT_STREQ(area, "0123456");
  for (size_t i = 8; i < sizeof area; ++i) EXPECT_EQ(area[i], '#') << "guard byte " << i;

  EXPECT_EQ(FormatString(area, sizeof area, "%02x:%02x", 3, 0), 5u);
  EXPECT_STREQ(area, "03:00");

  EXPECT_EQ(FormatString(nullptr, 8, "%s", "text"), 0u);
  area[0] = '#';
  EXPECT_EQ(FormatString(area, 0, "%s", "text"), 0u);
  EXPECT_EQ(area[0], '#');
}

TEST_F(ConsoleTest, PrintAndClearPrintsTheTextAsItStandsAndClearsTheBuffer) {
  // Board names and paths may hold '%': they print as themselves, never as
  // conversions (a "%n" would write through a missing argument).
  for (const char* text : {"Board 100% %s %d %n done\n", "%%", "plain line\n", ""}) {
    char buffer[64];
    std::memset(buffer, 'z', sizeof buffer);
    std::strcpy(buffer, text);
    PrintAndClear(buffer, sizeof buffer);
    EXPECT_EQ(card_->TakeOutput(), text);
    for (char c : buffer) ASSERT_EQ(c, '\0');
  }
}

TEST_F(ConsoleTest, PrintAndClearStopsAtTheBufferEndWithoutATerminator) {
  char area[8] = {'a', 'b', 'c', 'd', 'Q', 'Q', 'Q', '\0'};
  PrintAndClear(area, 4);
  EXPECT_EQ(card_->TakeOutput(), "abcd");
  EXPECT_EQ(std::string(area, 4), std::string(4, '\0'));
  EXPECT_EQ(area[4], 'Q');
}

TEST_F(ConsoleTest, SleepSecondsWaitsOnThePortClock) {
  SleepSeconds(5);
  EXPECT_EQ(card_->WaitedMicroseconds(), 5000000u);
}

TEST_F(ConsoleTest, CheckParamCountAcceptsTheMenuAndTheExpectedCount) {
  struct Case {
    int count;
    uint8_t expected;
    int result;
  };
  for (const Case& c : {Case{0, 2, 0}, Case{2, 2, 0}, Case{1, 1, 0}, Case{1, 2, 1}, Case{3, 2, 1}}) {
    EXPECT_EQ(CheckParamCount(c.count, c.expected), c.result) << c.count << " of " << int(c.expected);
    EXPECT_EQ(card_->TakeOutput(),
              c.result == 0 ? "" : Message("Incorrect number of command line parameters."));
  }
}

}  // namespace
