// Versions of the images in flash, their order, and their texts.
#include <gtest/gtest.h>

#include <string>

#include "app/images/flash_version.h"
#include "app/images/version_text.h"
#include "card_fixture.h"

namespace {

using FlashVersion = app_test::CardFixture;

TEST_F(FlashVersion, VersionsOfTheDefaultCardsImages) {
  struct Case {
    const char* name;
    uint8_t imageType;
    uint8_t codeType;
    uint32_t version;
  } cases[] = {
      {"firmware header", 1, 0, 0x0E000500},
      // Legacy code revision 0x0812 with the low bytes 0, 0.
      {"legacy BIOS", 2, 0, 0x08120000},
      // UEFI code revision 0x2105: 1 << 24 | 0x01 << 16 | 0x2105.
      {"UEFI driver", 2, 3, 0x01012105},
      {"first image", 2, 0xFF, 0x08120000},
      {"no Open Firmware image", 2, 1, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint32_t version = 0x12345678;
    EXPECT_EQ(GetFlashBiosVersion(adapter_, &version, c.imageType, c.codeType), 1u);
    EXPECT_EQ(version, c.version);
  }
  // Other image types have no version.
  model().images[7].bytes.assign(64, 0x11);
  uint32_t version = 0x12345678;
  EXPECT_EQ(GetFlashBiosVersion(adapter_, &version, 7, 0), 1u);
  EXPECT_EQ(version, 0x12345678u);
  // A firmware image too short for its header has none.
  model().images[1].bytes.assign(20, 0x22);
  EXPECT_EQ(GetFlashBiosVersion(adapter_, &version, 1, 0), 1u);
  EXPECT_EQ(version, 0xFFFFFFFFu);
}

TEST_F(FlashVersion, AFailedUploadGivesNoVersion) {
  card().AnswerFunction(0x12, 0x0004, 0, 1);
  uint32_t version = 0x12345678;
  EXPECT_EQ(GetFlashBiosVersion(adapter_, &version, 2, 0), 0u);
  EXPECT_EQ(version, 0x12345678u);
  EXPECT_EQ(card().TakeOutput(), "\tERROR: Failed to Upload Image!\n");
}

TEST(VersionOrder, NotNewerComparesFromTheTopByte) {
  struct Case {
    uint32_t a, b;
    bool notNewer;
  } cases[] = {
      {0x01020304, 0x01020304, true},
      {0x01030000, 0x0102FFFF, false},  // byte 2 decides before the lower ones
      {0x0102FFFF, 0x01030000, true},
      {0x01020305, 0x01020304, false},
      {0x01020303, 0x01020304, true},
      {0xFF000000, 0x01FFFFFF, false},  // unsigned bytes
      {0x7F000000, 0x80000000, true},
      {0x0102FF04, 0x01030004, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.a << " " << c.b);
    EXPECT_EQ(IsVersionNotNewer(c.a, c.b), c.notNewer);
  }
}

TEST(VersionText, EveryValueFitsItsBuffer) {
  char text[kVersionTextSize];
  EXPECT_EQ(FormatVersionBytes(text, sizeof text, 0xFFFFFFFF), 15u);
  EXPECT_EQ(std::string(text), "255.255.255.255");
  FormatVersionBytes(text, sizeof text, 0x07250000);
  EXPECT_EQ(std::string(text), "07.37.00.00");
  FormatVersionBytes(text, sizeof text, 0x0E020500);
  EXPECT_EQ(std::string(text), "14.02.05.00");
  FormatUefiVersion(text, sizeof text, 0x01012103);
  EXPECT_EQ(std::string(text), "01.01.00.03");
  FormatUefiVersion(text, sizeof text, 0xFFFFFFFF);
  EXPECT_EQ(std::string(text), "07.31.15.15");
}

}  // namespace
