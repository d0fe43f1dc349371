// The module configuration identifier in page 223's packed form (a u32 of
// hexadecimal digits: digits 0-3 the code's characters in memory order,
// digit 4 the type, read lowest first until what is left is 0) against the
// diagnostic information block (code characters at 16-19, type u32 at 20).
#include "emu/modules/config_identifier.h"
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

uint32_t Code(const char* four) {
  uint32_t code = 0;
  for (int i = 0; i < 4; ++i) code |= static_cast<uint32_t>(static_cast<uint8_t>(four[i])) << (8 * i);
  return code;
}

TEST(ConfigIdentifier, HowPackedDigitsRead) {
  struct Case {
    uint32_t packed;
    uint32_t code, type;
  } cases[] = {
      {0x9152, Code("2519"), '0'},   // four digits: the type is '0'
      {0x49152, Code("2519"), '4'},  // printed by the listing as 0x34 39313532
      {0x42519, Code("9152"), '4'},  // digits 42519: code characters 9, 1, 5, 2
      {0x2519, Code("9152"), '0'},
      {0x152, Code("251\0"), '0'},   // stops at the first zero that is all that is left
      {0xA0, static_cast<uint32_t>('0' | ':' << 8), '0'},  // digits above 9 are the characters after '9'
      {0, 0, '0'},
  };
  for (const Case& c : cases) {
    emu::ConfigIdentifierWords w = emu::UnpackConfigIdentifier(c.packed);
    EXPECT_EQ(w.code, c.code) << std::hex << c.packed;
    EXPECT_EQ(w.type, c.type) << std::hex << c.packed;
  }
}

TEST(ConfigIdentifier, APackedWordReadsBackAsTheModulesIdentifierOrIsNotRecorded) {
  struct Case {
    char type;
    const char* code;
    uint32_t packed;
  } cases[] = {
      {'0', "2519", 0x9152},  {'4', "2519", 0x49152}, {'8', "1591", 0x81951},
      {'9', "2516", 0x96152}, {'4', "2510", 0x40152},  // a trailing '0' carried by the type's digit
      {'0', "2510", 0},       // ... but with type '0' the digits would stop early
      {'1', "25A9", 0},       // a character no digit gives
      {'0', "0000", 0},
  };
  for (const Case& c : cases) {
    emu::ModuleModel m;
    m.modelType = c.type;
    m.configId = c.code;
    EXPECT_EQ(emu::PackConfigIdentifier(m), c.packed) << c.type << c.code;
    if (c.packed != 0) {
      EXPECT_EQ(emu::UnpackConfigIdentifier(c.packed), emu::DiagIdentifierWords(m));
    }
  }
}

// Every module of the card: its page 223 word, read back, is the identifier
// its diagnostic information block holds; a word of 0 is only given where
// the packed form cannot carry it.
using IdentifierSources = ModuleFixture;

TEST_F(IdentifierSources, Page223AndTheDiagnosticBlockAgreeForEveryModule) {
  Use(emu::MixedModulesHost());
  std::vector<uint8_t> page = Page(15, 223, 0x1A);
  ASSERT_EQ(page.size(), 56u);
  std::vector<uint32_t> words;
  for (uint8_t slot = 0; slot < 8; ++slot) words.push_back(Get32(page, 24 + 4 * slot));
  EXPECT_EQ(words, (std::vector<uint32_t>{0, 0, 0, 0, 0x9152, 0x49152, 0, 0x96152}));
  for (const emu::ModuleModel& m : adapter().modules) {
    SCOPED_TRACE(int(m.slot));
    std::vector<uint8_t> diag = DiagInfo(m.devHandle);
    ASSERT_EQ(diag.size(), 512u);
    emu::ConfigIdentifierWords fromDiag{Get32(diag, 16), Get32(diag, 20)};
    uint32_t word = words[m.slot];
    if (word != 0) {
      EXPECT_EQ(emu::UnpackConfigIdentifier(word), fromDiag);
    } else {
      EXPECT_EQ(m.configId, "2510");  // the one the packed form cannot carry
      EXPECT_EQ(fromDiag.code, Code("2510"));
    }
  }
  // The controller records no identifier for a missing module.
  card().Module(5)->state = emu::ModuleState::kMissing;
  EXPECT_EQ(Get32(Page(15, 223, 0x1A), 24 + 4 * 5), 0u);
}

}  // namespace
