#include <gtest/gtest.h>

#include <string>

#include "app/shell/keyboard_input.h"
#include "app_test_support.h"
#include "emu/host/emulator.h"

namespace {

using app_test::Message;

const std::string kInvalid = Message("Invalid entry.");

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { card_ = &emu::Install(emu::DefaultHost()); }
  emu::Emulator* card_ = nullptr;
};

TEST_F(KeyboardTest, ReadMenuNumberJudgesOneLine) {
  struct Case {
    const char* name;
    std::string input;
    uint32_t flag;
    uint32_t value;  // checked for valid entries and out-of-range numbers
  };
  const Case cases[] = {
      {"2", "2\n", kEntryValid, 2},
      {"leading zero", "02\n", kEntryValid, 2},
      {"zero", "0\n", kEntryValid, 0},
      {"top of range", "3\n", kEntryValid, 3},
      {"above the range", "4\n", kEntryInvalid, 4},
      {"minus one", "-1\n", kEntryInvalid, 0},
      {"trailing letter", "2a\n", kEntryInvalid, 0},
      {"leading blank", " 2\n", kEntryInvalid, 0},
      {"empty line", "\n", kEntryInvalid, 0},
      {"carriage return", "2\r\n", kEntryInvalid, 0},
      {"beyond 32 bits, 2 after wrapping", "4294967298\n", kEntryInvalid, 0xFFFFFFFF},
      {"last line without a break", "3", kEntryValid, 3},
      {"255 characters", std::string(254, '0') + "2\n", kEntryValid, 2},
      {"256 characters", std::string(255, '0') + "2\n", kEntryInvalid, 0},
  };
  for (const Case& c : cases) {
    card_->SetInput(c.input);
    uint32_t flag = 99;
    uint32_t value = ReadMenuNumber(0, 3, &flag);
    EXPECT_EQ(flag, c.flag) << c.name;
    if (c.value != 0 || c.flag == kEntryValid) {
      EXPECT_EQ(value, c.value) << c.name;
    }
    EXPECT_EQ(card_->TakeOutput(), c.flag == kEntryValid ? "" : kInvalid) << c.name;
    // The whole line was read: nothing of it is left for the next prompt.
    EXPECT_EQ(ReadChar(), -1) << c.name;
  }
}

TEST_F(KeyboardTest, ReadMenuNumberUsesTheWholeUnsignedRange) {
  card_->SetInput("4294967295\n4294967296\n0\n");
  uint32_t flag = 99;
  EXPECT_EQ(ReadMenuNumber(1, 4294967295u, &flag), 4294967295u);
  EXPECT_EQ(flag, kEntryValid);
  ReadMenuNumber(1, 4294967295u, &flag);
  EXPECT_EQ(flag, kEntryInvalid);
  ReadMenuNumber(1, 4294967295u, &flag);
  EXPECT_EQ(flag, kEntryInvalid);
}

TEST_F(KeyboardTest, AnOverlongLineIsNotTakenAsTheNextAnswer) {
  card_->SetInput(std::string(300, '1') + "\n2\n");
  uint32_t flag = 99;
  ReadMenuNumber(0, 3, &flag);
  EXPECT_EQ(flag, kEntryInvalid);
  EXPECT_EQ(ReadMenuNumber(0, 3, &flag), 2u);
  EXPECT_EQ(flag, kEntryValid);
  EXPECT_EQ(card_->TakeOutput(), kInvalid);
}

TEST_F(KeyboardTest, EndOfInputEndsTheReadersWithoutAMessage) {
  card_->SetInput("");
  uint32_t flag = 99;
  EXPECT_EQ(ReadMenuNumber(0, 3, &flag), 0u);
  EXPECT_EQ(flag, kEntryEnded);
  // And again: the readers never wait for a line that cannot come.
  EXPECT_EQ(ReadMenuNumber(0, 3, &flag), 0u);
  EXPECT_EQ(flag, kEntryEnded);

  char line[16] = "leftover";
  EXPECT_EQ(ReadInputLine(line, sizeof line), kEntryEnded);
  EXPECT_STREQ(line, "");
  EXPECT_EQ(card_->TakeOutput(), "");
}

TEST_F(KeyboardTest, ACutOffLastLineIsReadThenTheEndIsReported) {
  card_->SetInput("abc");
  char line[16];
  EXPECT_EQ(ReadInputLine(line, sizeof line), kEntryValid);
  EXPECT_STREQ(line, "abc");
  EXPECT_EQ(ReadInputLine(line, sizeof line), kEntryEnded);
}

TEST_F(KeyboardTest, ReadInputLineAcceptsPrintableLinesThatFit) {
  struct Case {
    const char* name;
    std::string input;
    uint32_t result;
    std::string text;  // what the buffer holds
  };
  const Case cases[] = {
      {"511 characters", std::string(511, 'a') + "\n", kEntryValid, std::string(511, 'a')},
      {"512 characters", std::string(512, 'b') + "\n", kEntryInvalid, std::string(511, 'b')},
      {"512 characters without a break", std::string(512, 'b'), kEntryInvalid, std::string(511, 'b')},
      {"empty line", "\n", kEntryValid, ""},
      {"path with blanks", "/tmp/my image.bin\n", kEntryValid, "/tmp/my image.bin"},
      {"tab", "a\tb\n", kEntryInvalid, "a\tb"},
      {"carriage return", "YES\r\n", kEntryInvalid, "YES\r"},
      {"control character past the stored part", std::string(600, 'c') + "\x01\n", kEntryInvalid,
       std::string(511, 'c')},
      {"NUL inside", std::string("ab\0cd\n", 6), kEntryInvalid, "ab"},
  };
  for (const Case& c : cases) {
    card_->SetInput(c.input);
    char buffer[512];
    EXPECT_EQ(ReadInputLine(buffer, sizeof buffer), c.result) << c.name;
    EXPECT_EQ(std::string(buffer), c.text) << c.name;
    EXPECT_EQ(card_->TakeOutput(), c.result == kEntryValid ? "" : kInvalid) << c.name;
    EXPECT_EQ(ReadChar(), -1) << c.name;
  }
}

TEST_F(KeyboardTest, TheRestOfALongLineGoesWithIt) {
  card_->SetInput(std::string(700, 'x') + "\nnext\n");
  char buffer[80];
  EXPECT_EQ(ReadInputLine(buffer, sizeof buffer), kEntryInvalid);
  EXPECT_EQ(ReadInputLine(buffer, sizeof buffer), kEntryValid);
  EXPECT_STREQ(buffer, "next");
}

}  // namespace
