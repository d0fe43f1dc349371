// ParseHexNumber: digit counts around the two 32-bit halves, the prefix and
// characters that are not hexadecimal digits.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/shell/hex_number.h"
#include "emu/host/emulator.h"

namespace {

struct HexCase {
  const char* text;
  bool valid;
  uint32_t low;
  uint32_t high;  // the high half starts as 0xDEADBEEF: kept for 8 digits and fewer
};

constexpr uint32_t kUntouched = 0xDEADBEEF;

const HexCase kCases[] = {
    {"", true, 0, kUntouched},
    {"0x", true, 0, kUntouched},
    {"1F", true, 0x1F, kUntouched},
    {"0X1f", true, 0x1F, kUntouched},
    {"89abcdef", true, 0x89ABCDEF, kUntouched},
    {"FFFFFFFF", true, 0xFFFFFFFF, kUntouched},
    {"123456789", true, 0x23456789, 0x1},
    {"123456789abc", true, 0x56789ABC, 0x1234},
    {"0123456789ABCDEF", true, 0x89ABCDEF, 0x01234567},
    {"0x0123456789abcdef", true, 0x89ABCDEF, 0x01234567},
    {"FFFFFFFFFFFFFFFF", true, 0xFFFFFFFF, 0xFFFFFFFF},
    {"0123456789ABCDEF0", false, 0, kUntouched},
    {"0x0123456789ABCDEF0", false, 0, kUntouched},
    {"12G4", false, 0, kUntouched},
    {"0x 12", false, 0, kUntouched},
    {"12-", false, 0, kUntouched},
    {"0xx1", false, 0, kUntouched},
    {"\xC1", false, 0, kUntouched},
};

TEST(HexNumberTest, DigitCountsPrefixesAndBadCharacters) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  for (const HexCase& c : kCases) {
    SCOPED_TRACE(c.text);
    card.TakeOutput();
    uint32_t low = 0;
    uint32_t high = kUntouched;
    EXPECT_EQ(ParseHexNumber(c.text, &low, &high), c.valid);
    EXPECT_EQ(low, c.low);
    EXPECT_EQ(high, c.high);
    std::string expected = c.valid ? "" : "\tERROR: String " + std::string(c.text) + " is not a valid number\n";
    EXPECT_EQ(card.TakeOutput(), expected);
  }
}

TEST(HexNumberTest, NoTextIsInvalidWithoutAMessage) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  uint32_t low = 5;
  uint32_t high = 6;
  EXPECT_FALSE(ParseHexNumber(nullptr, &low, &high));
  EXPECT_EQ(low, 5u);
  EXPECT_EQ(high, 6u);
  EXPECT_EQ(card.TakeOutput(), "");
}

}  // namespace
