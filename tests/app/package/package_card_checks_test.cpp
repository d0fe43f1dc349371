// A package against the default card: the whole validation with the image
// checks of its entries, the module configuration check, the required
// images and the size, the board type and the board name and OEM checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/package/flash_package.h"
#include "app/shell/program_state.h"
#include "card_fixture.h"
#include "tests/app/images/fw_fixtures.h"
#include "tests/app/package/package_fixtures.h"

namespace {

using pkg_test::PkgCorruption;

class PackageCard : public app_test::CardFixture {
 public:
  void SetUp() override {
    CardFixture::SetUp();
    SelectedController = 1;
  }
  uint32_t Validate(std::vector<uint8_t>* file) {
    return ValidateFlashPkg(file->data(), static_cast<uint32_t>(file->size()));
  }
  bool OutputHas(const std::string& output, const std::string& text) {
    return output.find(text) != std::string::npos;
  }
};

TEST_F(PackageCard, TheDefaultPackageIsValidForTheDefaultCard) {
  std::vector<uint8_t> file = pkg_test::BuildPackage(pkg_test::DefaultCardPackage());
  EXPECT_EQ(Validate(&file), 0u);
  std::string output = card().TakeOutput();
  EXPECT_TRUE(OutputHas(output, "\t\tValid BootLoader Image verified.\n\n"));
  EXPECT_TRUE(OutputHas(output, "\t\tBIOS Image Compatible with the Controller.\n\n"));
  EXPECT_FALSE(OutputHas(output, "ERROR"));
  // Nothing was written: no download, no clean, no configuration write.
  EXPECT_TRUE(Commands(0x09).empty());
  for (uint8_t slot = 4; slot < 8; ++slot) EXPECT_EQ(card().ModuleActivity(slot).configWrites, 0u);
  EXPECT_EQ(CheckPkgOemAndBoardName(file.data(), static_cast<uint32_t>(file.size())), 1u);
  EXPECT_EQ(card().TakeOutput(), "\t\tPackage Type: 0x7, PCI SubSystem ID: 0x500\n\n");
}

TEST_F(PackageCard, EachPackageLevelFaultEndsTheValidation) {
  struct Row {
    const char* name;
    pkg_test::PkgFields fields;
    PkgCorruption corruption;
    std::string expected;  // a line the output ends with
  };
  pkg_test::PkgFields noBios = pkg_test::DefaultCardPackage();
  noBios.entries[1].type = 4;
  pkg_test::PkgFields otherModule = pkg_test::DefaultCardPackage();
  otherModule.entries[2].configIdLow = 0x36313532;  // "2516"
  pkg_test::PkgFields shortModuleImage = pkg_test::DefaultCardPackage();
  shortModuleImage.entries[2].data.resize(256);
  pkg_test::PkgFields badFirmware = pkg_test::DefaultCardPackage();
  badFirmware.entries[0].data = fw_test::Corrupted(fw_test::FwCorruption::kBadChecksum);
  const Row rows[] = {
      {"type-4 BIOS only", noBios, PkgCorruption::kNone, "\t\tPackage does not contain required image.\n\n"},
      {"one byte longer", pkg_test::DefaultCardPackage(), PkgCorruption::kOneByteLonger, "\t\tInvalid file size.\n"},
      {"module of another configuration", otherModule, PkgCorruption::kNone, "\n\t\tFlash type mismatch on SSD\n"},
      {"module image too short", shortModuleImage, PkgCorruption::kNone,
       "\t\tInvalid SSD firmware image (256 bytes) in package entry 2.\n"},
      {"firmware checksum", badFirmware, PkgCorruption::kNone, "\t\tFirmware Image Validation Failed! \n\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<uint8_t> file = pkg_test::BuildPackage(row.fields, row.corruption);
    EXPECT_NE(Validate(&file), 0u);
    std::string output = card().TakeOutput();
    ASSERT_GE(output.size(), row.expected.size());
    EXPECT_EQ(output.substr(output.size() - row.expected.size()), row.expected);
  }
}

TEST_F(PackageCard, ThePackageTypeMustFitTheBoard) {
  struct Row {
    uint8_t packageType;
    uint32_t subsystemId;
    uint32_t result;
  };
  const Row rows[] = {{7, 0x0500, 0}, {6, 0x0500, 1}, {5, 0x72, 0}, {5, 0x0500, 1}, {12, 0x0500, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.packageType);
    pkg_test::PkgFields fields = pkg_test::DefaultCardPackage();
    fields.packageType = row.packageType;
    std::vector<uint8_t> file = pkg_test::BuildPackage(fields);
    EXPECT_EQ(CheckPkgBoardType(file.data(), row.subsystemId, 0), row.result);
    std::string output = card().TakeOutput();
    EXPECT_EQ(output.find("\t\tPackage Type: 0x"), 0u);
    EXPECT_EQ(output.find("\t\tPackage and Corvexium are not compatible.\n\n") != std::string::npos, row.result == 1);
  }
}

TEST_F(PackageCard, TheFirmwareEntryMustNameTheCardsBoardAndOem) {
  struct Row {
    fw_test::FwFields fields;
    std::string expected;
  };
  fw_test::FwFields otherBoard;
  otherBoard.boardName = "Corvexium2";
  fw_test::FwFields otherOem;
  otherOem.packageVersion = 0x0E030500;
  const Row rows[] = {
      {otherBoard,
       "\t\tThe specified package file is not compatible with the selected Corvexium. \n\t\tPackage Board Name   : "
       "Corvexium2 \n\t\tCorvexium Board Name : Corvexium\n\n"},
      {otherOem, "\t\tOEM Identifier 02 does not match to 03.\n\n"},
  };
  for (const Row& row : rows) {
    pkg_test::PkgFields fields = pkg_test::DefaultCardPackage();
    fields.entries[0].data = fw_test::FwImage(row.fields);
    std::vector<uint8_t> file = pkg_test::BuildPackage(fields);
    EXPECT_EQ(CheckPkgOemAndBoardName(file.data(), static_cast<uint32_t>(file.size())), 0u);
    EXPECT_EQ(card().TakeOutput(), "\t\tPackage Type: 0x7, PCI SubSystem ID: 0x500\n\n" + row.expected);
  }
}

}  // namespace
