// The version walk over a BIOS region: which image decides, how each code
// type packs its version, and that no cut of the region leads it outside.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/images/rom_image_version.h"
#include "rom_fixtures.h"

namespace {

using rom_test::Join;
using rom_test::RomImage;
using rom_test::RomFields;

constexpr uint32_t kNone = 0xFFFFFFFF;

RomFields Legacy(uint16_t revision, uint8_t indicator = 0) {
  RomFields fields;
  fields.codeType = 0;
  fields.codeRevision = revision;
  fields.indicator = indicator;
  fields.seed = 3;
  return fields;
}

RomFields Uefi(uint16_t revision, uint8_t indicator = 0x80) {
  RomFields fields;
  fields.codeType = 3;
  fields.codeRevision = revision;
  fields.indicator = indicator;
  fields.pcirOffset = 0x1C;
  fields.seed = 9;
  return fields;
}

// An Open Firmware image with its what string at `at`: "@(#)", 22 blanks,
// then "d.dd.dd.dd" from 26 (or "d.dd.dd(" when fourth is null).
std::vector<uint8_t> OpenFirmware(uint32_t at, const char* digits, uint8_t indicator = 0x80) {
  RomFields fields;
  fields.codeType = 1;
  fields.indicator = indicator;
  fields.seed = 5;
  std::vector<uint8_t> image = RomImage(fields);
  std::string what = "@(#)" + std::string(22, ' ') + digits;
  std::memcpy(image.data() + at, what.data(), what.size());
  return rom_test::Resummed(std::move(image));
}

uint32_t Version(const std::vector<uint8_t>& region, uint8_t codeType) {
  return GetRomImageVersion(0x01000001, region.data(), static_cast<uint32_t>(region.size()), codeType);
}

TEST(RomImageVersion, EachCodeTypeFindsItsImage) {
  const std::vector<uint8_t> legacyThenUefi = Join({RomImage(Legacy(0x0725)), RomImage(Uefi(0x2103))});
  const std::vector<uint8_t> uefiThenLegacy =
      Join({RomImage(Uefi(0x2103, 0)), RomImage(Legacy(0x0725, 0x80))});
  struct Case {
    const char* name;
    const std::vector<uint8_t>* region;
    uint8_t codeType;
    uint32_t expected;
  } cases[] = {
      // Revision-3 data structure: the low half comes from PCIR + 28.
      {"legacy", &legacyThenUefi, 0, 0x07250000},
      {"0xAA reads as legacy", &legacyThenUefi, 0xAA, 0x07250000},
      // (r >> 13) << 24 | (r & 0x1F00) << 8 | r for r = 0x2103.
      {"uefi", &legacyThenUefi, 3, 0x01012103},
      {"first image legacy", &legacyThenUefi, 0xFF, 0x07250000},
      {"no open firmware", &legacyThenUefi, 1, kNone},
      {"legacy behind uefi", &uefiThenLegacy, 0, 0x07250000},
      {"first image uefi", &uefiThenLegacy, 0xFF, 0x01012103},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Version(*c.region, c.codeType), c.expected);
  }
  EXPECT_EQ(Version(legacyThenUefi, 3) & 0xFFFF, 0x2103u);
}

TEST(RomImageVersion, TheDataStructureRevisionPlacesTheLegacyLowHalf) {
  RomFields old = Legacy(0x0812);
  old.pcirRevision = 2;
  old.versionHigh = 0x34;
  old.versionLow = 0x56;
  std::vector<uint8_t> image = RomImage(old);
  image[0x40 + 28] = 0x77;  // not read for revision 2
  image[0x40 + 29] = 0x88;
  EXPECT_EQ(Version(image, 0), 0x08123456u);

  RomFields current = Legacy(0x0812);
  current.versionHigh = 0x34;
  current.versionLow = 0x56;
  image = RomImage(current);
  image[0x40 + 24] = 0x77;  // not read for revision 3
  image[0x40 + 25] = 0x88;
  EXPECT_EQ(Version(image, 0), 0x08123456u);
}

TEST(RomImageVersion, OpenFirmwareTakesTheWhatStringOfTheLastImage) {
  EXPECT_EQ(Version(OpenFirmware(0x100, "1.02.03.04"), 1), 0x01020304u);
  // '(' where the fourth part would start: the fourth part is 0.
  EXPECT_EQ(Version(OpenFirmware(0x100, "1.02.03 (x"), 1), 0x01020300u);
  // Digits are hexadecimal digit values.
  EXPECT_EQ(Version(OpenFirmware(0x100, "a.1b.03.04"), 1), 0x0A1B0304u);
  // A later Open Firmware image replaces the earlier one's version.
  EXPECT_EQ(Version(Join({OpenFirmware(0x100, "1.02.03.04", 0), OpenFirmware(0x80, "2.05.06.07")}), 1),
            0x02050607u);
  // One without a marker leaves the earlier version standing.
  RomFields bare;
  bare.codeType = 1;
  bare.indicator = 0x80;
  EXPECT_EQ(Version(Join({OpenFirmware(0x100, "1.02.03.04", 0), RomImage(bare)}), 1), 0x01020304u);
  EXPECT_EQ(Version(RomImage(bare), 1), kNone);
}

TEST(RomImageVersion, TheWalkEndsWhereTheChainEnds) {
  // A legacy image of length 0 that is not the last one: the walk cannot
  // step past it and the UEFI image behind it is not reached.
  std::vector<uint8_t> stuck = Join({RomImage(Legacy(0x0725)), RomImage(Uefi(0x2103))});
  rom_test::PutLe16(&stuck, 0x40 + 0x10, 0);
  EXPECT_EQ(Version(stuck, 3), kNone);
  EXPECT_EQ(Version(stuck, 0), 0x07250000u);  // the image itself still has its version

  // The last-image bit ends the walk before a following image.
  std::vector<uint8_t> ended = Join({RomImage(Legacy(0x0725, 0x80)), RomImage(Uefi(0x2103))});
  EXPECT_EQ(Version(ended, 3), kNone);

  // No signature, or no region at all.
  std::vector<uint8_t> unsigned_ = RomImage(Legacy(0x0725));
  unsigned_[0] = 0;
  EXPECT_EQ(Version(unsigned_, 0), kNone);
  EXPECT_EQ(GetRomImageVersion(0, nullptr, 4096, 0), kNone);
  EXPECT_EQ(Version({}, 0xFF), kNone);

  // A data-structure pointer past the region's end.
  std::vector<uint8_t> astray = RomImage(Legacy(0x0725));
  rom_test::PutLe16(&astray, 0x18, 0xFFF0);
  EXPECT_EQ(Version(astray, 0), kNone);
}

// Every cut of a small region gives the full version or none, and reads
// only what the cut holds (each cut is a heap block of its exact size, so
// the sanitizer build sees any read past it).
TEST(RomImageVersion, EveryTruncationStaysInsideTheRegion) {
  const std::vector<uint8_t> region = Join({RomImage(Legacy(0x0725)), RomImage(Uefi(0x2103))});
  const std::vector<uint8_t> firmware = OpenFirmware(0x100, "1.02.03.04");
  const std::vector<uint8_t> noFourth = OpenFirmware(0x100, "1.02.03 (");
  // The legacy version is known once its two low bytes (PCIR + 28) are in;
  // the UEFI version once its data structure's fields (0x400 + 0x1C + 0x16).
  const size_t legacyNeeds = 0x40 + 28 + 2, uefiNeeds = 0x400 + 0x1C + 0x16, whatNeeds = 0x100 + 36;
  for (size_t cut = 0; cut <= region.size(); ++cut) {
    SCOPED_TRACE(cut);
    std::unique_ptr<uint8_t[]> part(new uint8_t[cut == 0 ? 1 : cut]);
    std::memcpy(part.get(), region.data(), cut);
    uint32_t length = static_cast<uint32_t>(cut);
    EXPECT_EQ(GetRomImageVersion(0, part.get(), length, 0), cut >= legacyNeeds ? 0x07250000u : kNone);
    EXPECT_EQ(GetRomImageVersion(0, part.get(), length, 0xFF), cut >= legacyNeeds ? 0x07250000u : kNone);
    EXPECT_EQ(GetRomImageVersion(0, part.get(), length, 3), cut >= uefiNeeds ? 0x01012103u : kNone);
    EXPECT_EQ(GetRomImageVersion(0, part.get(), length, 1), kNone);
  }
  for (size_t cut = 0; cut <= firmware.size(); ++cut) {
    SCOPED_TRACE(cut);
    std::unique_ptr<uint8_t[]> part(new uint8_t[cut == 0 ? 1 : cut]);
    std::memcpy(part.get(), firmware.data(), cut);
    uint32_t length = static_cast<uint32_t>(cut);
    EXPECT_EQ(GetRomImageVersion(0, part.get(), length, 1), cut >= whatNeeds ? 0x01020304u : kNone);
    // With '(' at p + 34 the digit at p + 35 is not needed.
    std::memcpy(part.get(), noFourth.data(), cut);
    EXPECT_EQ(GetRomImageVersion(0, part.get(), length, 1), cut >= whatNeeds - 1 ? 0x01020300u : kNone);
  }
}

}  // namespace
