// ParseWholeNumber: what a number word may hold, and that a refused word
// leaves the value as it was.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/shell/whole_number.h"

namespace {

constexpr uint32_t kUntouched = 0xDEADBEEF;

struct WholeCase {
  const char* word;
  bool valid;
  uint32_t value;  // kUntouched when refused
};

const WholeCase kCases[] = {
    {"0", true, 0},
    {"7", true, 7},
    {"007", true, 7},
    {"4294967295", true, 4294967295u},
    {"00000000004294967295", true, 4294967295u},
    {"4294967296", false, kUntouched},
    {"18446744073709551617", false, kUntouched},  // wraps 64 bits to 1
    {"99999999999999999999999", false, kUntouched},
    {"", false, kUntouched},
    {"-1", false, kUntouched},
    {"+1", false, kUntouched},
    {" 1", false, kUntouched},
    {"1 ", false, kUntouched},
    {"\t3", false, kUntouched},
    {"12a", false, kUntouched},
    {"0x10", false, kUntouched},
    {"1.5", false, kUntouched},
    {"\xB9", false, kUntouched},  // a superscript digit in Latin-1
};

TEST(WholeNumberTest, DigitsOnlyAndAtMost32Bits) {
  for (const WholeCase& c : kCases) {
    SCOPED_TRACE(c.word);
    uint32_t value = kUntouched;
    EXPECT_EQ(ParseWholeNumber(c.word, &value), c.valid);
    EXPECT_EQ(value, c.value);
  }
}

TEST(WholeNumberTest, NoWordIsRefused) {
  uint32_t value = kUntouched;
  EXPECT_FALSE(ParseWholeNumber(nullptr, &value));
  EXPECT_EQ(value, kUntouched);
}

}  // namespace
