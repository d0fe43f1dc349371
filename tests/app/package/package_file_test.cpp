// The checks of a package file alone: one row per way a file can be broken,
// each refused before anything else is read, with its message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/package/flash_package.h"
#include "card_fixture.h"
#include "tests/app/package/package_fixtures.h"

namespace {

using pkg_test::PkgCorruption;

const std::string kTitle = "Ulvane Corvexium Management Utility";

pkg_test::PkgFields SmallPackage() {
  pkg_test::PkgFields fields;
  fields.entries = {{1, std::vector<uint8_t>(300, 0x11)}, {2, std::vector<uint8_t>(200, 0x22)},
                    {1 + 4, std::vector<uint8_t>(264, 0x55)}};
  return fields;
}

class PackageFile : public app_test::CardFixture {};

TEST_F(PackageFile, EachCorruptionIsRefusedWithItsMessage) {
  struct Row {
    PkgCorruption corruption;
    std::string output;  // "" for a valid file
  };
  const Row rows[] = {
      {PkgCorruption::kNone, ""},
      {PkgCorruption::kOneByteLonger, ""},  // the size is a check against the entries' total, later
      {PkgCorruption::kBadSignature, kTitle + ": Invalid package signature.\n"},
      {PkgCorruption::kNewerHeader,
       kTitle + ": Flash package header version 01.00.00.01 is newer than 01.00.00.00.\n"},
      {PkgCorruption::kBadChecksum, kTitle + ": Checksum error.\n"},
      {PkgCorruption::kPackageTypeZero, kTitle + ": Package type not supported. Type: 0x0\n"},
      {PkgCorruption::kPackageType13, kTitle + ": Package type not supported. Type: 0xd\n"},
      {PkgCorruption::kCutInHeader, "\t\tInvalid file size.\n"},
      {PkgCorruption::kCutInTable, "\t\tInvalid file size.\n"},
      {PkgCorruption::kEntryOutside, "\t\tPackage entry 2 lies outside the package file.\n"},
      {PkgCorruption::kEntryInTable, "\t\tPackage entry 0 lies outside the package file.\n"},
      {PkgCorruption::kOffsetWraps, "\t\tPackage entry 2 lies outside the package file.\n"},
      {PkgCorruption::kUnknownType, "\t\tPackage entry 2 has an unknown image type 0x9.\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.corruption));
    std::vector<uint8_t> file = pkg_test::BuildPackage(SmallPackage(), row.corruption);
    EXPECT_EQ(CheckFlashPkgFile(file.data(), static_cast<uint32_t>(file.size())), row.output.empty() ? 0u : 1u);
    EXPECT_EQ(card().TakeOutput(), row.output);
  }
  EXPECT_TRUE(card().log().empty());  // the file alone: the card is not asked
}

TEST_F(PackageFile, TwoControllerFirmwareEntriesAreRefused) {
  pkg_test::PkgFields fields = SmallPackage();
  fields.entries.push_back({1, std::vector<uint8_t>(16, 0x33)});
  std::vector<uint8_t> file = pkg_test::BuildPackage(fields);
  EXPECT_EQ(CheckFlashPkgFile(file.data(), static_cast<uint32_t>(file.size())), 1u);
  EXPECT_EQ(card().TakeOutput(), "\t\tPackage contains more than one controller firmware image.\n\n");
}

TEST_F(PackageFile, TheChecksumLeavesItsOwnFieldOut) {
  std::vector<uint8_t> file = pkg_test::BuildPackage(SmallPackage());
  uint32_t stored = Le32(file, 24);
  EXPECT_EQ(ComputeFlashPkgChecksum(file.data(), static_cast<uint32_t>(file.size())), stored);
  std::vector<uint8_t> before = file;
  file[24] ^= 0xFF;  // whatever the field holds
  EXPECT_EQ(ComputeFlashPkgChecksum(file.data(), static_cast<uint32_t>(file.size())), stored);
  std::vector<uint8_t> image(4, 0xFF);
  EXPECT_EQ(ComputeFlashPkgChecksum(image.data(), 4), 0x3FCu);
}

}  // namespace
