#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"

namespace {

TEST(StripBlanksTest, DropsSpacesAndTabsOnly) {
  struct Case {
    const char* source;
    const char* stripped;
  };
  for (const Case& c : {Case{"", ""}, Case{" \t \t  ", ""}, Case{" A1 B2\tC3 .bin ", "A1B2C3.bin"},
                        Case{"abc", "abc"}, Case{"a\nb\rc", "a\nb\rc"}}) {
    char destination[64];
    std::memset(destination, '#', sizeof destination);
    size_t length = StripBlanks(c.source, destination);
    EXPECT_STREQ(destination, c.stripped) << '"' << c.source << '"';
    EXPECT_EQ(length, std::strlen(c.stripped));
  }
}

TEST(HexDigitValueTest, OnlyTheThreeRangesAreDigits) {
  struct Case {
    unsigned char character;
    uint8_t value;
  };
  for (const Case& c : {Case{'0', 0}, Case{'9', 9}, Case{'a', 10}, Case{'f', 15}, Case{'A', 10},
                        Case{'F', 15}, Case{'/', 0xFF}, Case{':', 0xFF}, Case{'@', 0xFF},
                        Case{'G', 0xFF}, Case{'`', 0xFF}, Case{'g', 0xFF}, Case{' ', 0xFF},
                        Case{'-', 0xFF}, Case{'x', 0xFF}, Case{0, 0xFF}, Case{0x80, 0xFF},
                        Case{0xE1, 0xFF}, Case{0xFF, 0xFF}}) {
    EXPECT_EQ(HexDigitValue(c.character), c.value) << int(c.character);
    EXPECT_EQ(HexCharValue(static_cast<char>(c.character)), c.value) << int(c.character);
  }
}

TEST(ParseDecimalTest, LeadingDigitsAndNoWrapAround) {
  struct Case {
    const char* text;
    uint32_t value;
    bool fits;
  };
  for (const Case& c : {Case{"12", 12, true}, Case{"1x", 1, true}, Case{"  +7 apples", 7, true},
                        Case{"abc", 0, true}, Case{"", 0, true}, Case{"-0", 0, true},
                        Case{"0004", 4, true}, Case{"4294967295", 4294967295u, true},
                        Case{"4294967296", 0xFFFFFFFF, false}, Case{"4294967297", 0xFFFFFFFF, false},
                        Case{"99999999999999999999999", 0xFFFFFFFF, false},
                        Case{"-1", 0xFFFFFFFF, false}, Case{"-4294967295", 0xFFFFFFFF, false}}) {
    bool fits = !c.fits;
    EXPECT_EQ(ParseDecimal(c.text, &fits), c.value) << '"' << c.text << '"';
    EXPECT_EQ(fits, c.fits) << '"' << c.text << '"';
  }
  EXPECT_EQ(ParseDecimal("256"), 256u);
}

TEST(StringCompareTest, NoCaseFoldsAsciiLettersOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  };
  for (const Case& c : {Case{"-HeLp", "-help", true}, Case{"yes", "YES", true}, Case{"", "", true},
                        Case{"-help", "-helpx", false}, Case{"YES ", "YES", false},
                        Case{"-lis", "-list", false}, Case{"@", "`", false}, Case{"[", "{", false},
                        Case{"-getpowerval", "-getPowerVal", true}}) {
    EXPECT_EQ(StrEqualNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(StrEqualNoCase(c.b, c.a), c.equal) << c.b << " / " << c.a;
  }
  EXPECT_TRUE(StrEqual("NULL", "NULL"));
  EXPECT_FALSE(StrEqual("null", "NULL"));
}

TEST(PrintableTest, CodesFrom32To126) {
  EXPECT_FALSE(IsPrintChar(31));
  EXPECT_TRUE(IsPrintChar(32));
  EXPECT_TRUE(IsPrintChar(126));
  EXPECT_FALSE(IsPrintChar(127));
}

TEST(PrintableTest, TextsFromTheCardShowEveryNonPrintingByteAsABlank) {
  struct Case {
    const char* name;
    std::string field;
    const char* shown;
  } cases[] = {
      {"printable text unchanged", "ZKM128-SATA6G ~", "ZKM128-SATA6G ~"},
      {"escape sequence", "AB\x1b[2J", "AB [2J"},
      {"line break, tab and carriage return", "a\nb\tc\rd", "a b c d"},
      {"DEL and bytes above 127", std::string("x\x7f\x80\xff", 4), "x   "},
      {"zero inside a fixed field", std::string("AB\0C", 4), "AB C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char out[32];
    std::memset(out, 'z', sizeof out);
    PrintableText(out, c.field.data(), c.field.size());
    EXPECT_STREQ(out, c.shown);
  }
  // A zero-terminated text ends at its terminator, or after its size.
  char out[8];
  PrintableString(out, "Cor\avx", 7);
  EXPECT_STREQ(out, "Cor vx");
  PrintableString(out, "ABCDEFGHIJ", 4);
  EXPECT_STREQ(out, "ABCD");
}

// A buffer is zero-filled, and handed on whole: the one it left is empty,
// so that it is freed once (the sanitizer build sees a double free).
TEST(MemoryTest, AnOwnedBufferIsZeroFilledAndHandedOnWhole) {
  AppBuffer bytes(300);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes.size(), 300u);
  for (size_t i = 0; i < 300; ++i) ASSERT_EQ(bytes.get()[i], 0);
  const uint8_t* held = bytes.get();
  AppBuffer taken = std::move(bytes);
  EXPECT_EQ(taken.get(), held);
  EXPECT_FALSE(bytes);
  EXPECT_EQ(bytes.size(), 0u);
  taken = AppBuffer(16);
  EXPECT_EQ(taken.size(), 16u);
  AppBuffer none(0);  // no bytes is no failure
  EXPECT_TRUE(none);
  EXPECT_EQ(none.size(), 0u);
  FreeMem(nullptr);
}

TEST(MemoryTest, CopiesAndComparisons) {
  EXPECT_TRUE(MemEqual("abc", "xyz", 0));
  EXPECT_TRUE(MemEqual("abcd", "abce", 3));
  EXPECT_FALSE(MemEqual("abcd", "abce", 4));

  char area[8];
  std::memset(area, '#', sizeof area);
  CopyStringN(area, "0123456789", 5);
  EXPECT_STREQ(area, "01234");
  EXPECT_EQ(area[6], '#');

  std::memset(area, '#', sizeof area);
  StrCopyN(area, "toolong", 4);  // no terminator when the source is longer
  EXPECT_EQ(std::string(area, 5), "tool#");
}

}  // namespace
