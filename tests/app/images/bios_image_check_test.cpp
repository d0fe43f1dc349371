// The option-ROM file checks against the emulated default card (device
// 0x7E; its region holds a legacy BIOS, a UEFI driver and components): one
// table of valid and corrupt files with the whole output each gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/images/bios_image_check.h"
#include "card_fixture.h"
#include "rom_fixtures.h"

namespace {

using rom_test::RomCorruption;
using Bytes = std::vector<uint8_t>;

const std::string kStart = "\n\t\tValidating BIOS Image...\n\n";
const std::string kSignatureOk = "\t\tBIOS Header Signature is Valid\n\n";
const std::string kChecksumOk = "\t\tBIOS Image has a Valid Checksum. \n\n";
const std::string kPcirOk = "\t\tBIOS PCI Structure Signature Valid.\n\n";
const std::string kUpToPcir = kStart + kSignatureOk + kChecksumOk + kPcirOk;
const std::string kCompatible = "\t\tBIOS Image Compatible with the Controller.\n\n";

class BiosImageCheck : public app_test::CardFixture {
 protected:
  uint32_t Validate(Bytes* image, uint32_t adapter) {
    uint16_t status = 0x7777;
    uint32_t logInfo = 0x77777777;
    uint32_t valid = ValidateBiosImage(image->empty() ? nullptr : image->data(), static_cast<uint32_t>(image->size()),
                                       adapter, &status, &logInfo);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(logInfo, 0u);
    return valid;
  }
};

TEST_F(BiosImageCheck, ImageFilesTable) {
  struct Row {
    const char* name;
    Bytes file;
    uint32_t valid;
    std::string output;
  };
  rom_test::RomFileFields uefiOnly;
  uefiOnly.legacy = false;
  rom_test::RomFileFields legacyOnly;
  legacyOnly.uefi = false;
  legacyOnly.components = false;
  legacyOnly.deviceId = 0x64;
  const Row rows[] = {
      {"legacy, UEFI and components", rom_test::OptionRomFile(), 1, kUpToPcir + kCompatible},
      {"legacy only, for another accepted device", rom_test::OptionRomFile(legacyOnly), 1, kUpToPcir + kCompatible},
      {"UEFI only", rom_test::OptionRomFile(uefiOnly), 1, kUpToPcir + kCompatible},
      {"bad signature", rom_test::CorruptedRom(RomCorruption::kBadSignature), 0,
       kStart + "\t\tBIOS Header Signature is Invalid\n\n"},
      {"empty file", Bytes{}, 0, kStart + "\t\tBIOS Header Signature is Invalid\n\n"},
      {"one byte", Bytes{0x55}, 0, kStart + "\t\tBIOS Header Signature is Invalid\n\n"},
      {"bytes sum to 1", rom_test::CorruptedRom(RomCorruption::kBadChecksum), 0,
       kStart + kSignatureOk + "\t\tERROR: BIOS Image Checksum Failed: 00000001\n\n"},
      {"data structure outside the file", rom_test::CorruptedRom(RomCorruption::kPcirOutsideFile), 0,
       kStart + kSignatureOk + kChecksumOk + "\t\tBIOS PCI Structure Signature Invalid!\n\n"},
      {"bad PCIR signature", rom_test::CorruptedRom(RomCorruption::kBadPcirSignature), 0,
       kStart + kSignatureOk + kChecksumOk + "\t\tBIOS PCI Structure Signature Invalid!\n\n"},
      {"neither legacy nor UEFI", rom_test::CorruptedRom(RomCorruption::kNoKnownCodeType), 0,
       kUpToPcir + "\t\tCannot get BIOS version from image!\n\n"},
      {"image runs past the file", rom_test::CorruptedRom(RomCorruption::kTruncated), 0,
       kUpToPcir + "\t\tCannot get BIOS version from image!\n\n"},
      {"device 0x66", rom_test::CorruptedRom(RomCorruption::kDeviceNotAccepted), 0,
       kUpToPcir + "\t\tERROR: BIOS Image not compatible with the Controller.\n\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes image = row.file;
    EXPECT_EQ(Validate(&image, adapter_), row.valid);
    EXPECT_EQ(card().TakeOutput(), row.output);
    // Only an accepted image changes, and only in its device ID, which
    // becomes the controller's.
    Bytes expected = row.file;
    if (row.valid) rom_test::PutLe16(&expected, 0x40 + 6, 0x7E);
    EXPECT_TRUE(image == expected);
  }
}

TEST_F(BiosImageCheck, CurrentRegionAndIdentity) {
  // The region is read for the file's kind: legacy, or UEFI for a UEFI-only
  // file; when it cannot be read the file is refused.
  card().AnswerFunction(0x12, 0x0004, 0, 1);
  Bytes image = rom_test::OptionRomFile();
  EXPECT_EQ(ValidateBiosImage(image.data(), static_cast<uint32_t>(image.size()), adapter_, nullptr, nullptr), 0u);
  EXPECT_EQ(card().TakeOutput(), kUpToPcir + "\tERROR: Failed to Upload Image!\n"
                                             "\t\tERROR: Failed to get current BIOS version !\n\n");

  // A controller whose identity cannot be read: the image is refused and
  // keeps its own device ID, never a 0.
  rom_test::RomFileFields fields;
  fields.deviceId = 0x80;
  image = rom_test::OptionRomFile(fields);
  Bytes before = image;
  EXPECT_EQ(Validate(&image, adapter_ + 0x1000), 0u);
  EXPECT_TRUE(image == before);
}

TEST(BiosImageFormat, AcceptedDevicesAndChecksum) {
  const uint16_t accepted[] = {0x64, 0x65, 0x70, 0x72, 0x74, 0x76, 0x77, 0x7E, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85};
  for (uint16_t id = 0; id < 0x200; ++id) {
    bool expected = false;
    for (uint16_t a : accepted) expected = expected || a == id;
    EXPECT_EQ(IsBiosDeviceAccepted(id), expected) << std::hex << id;
  }
  EXPECT_FALSE(IsBiosDeviceAccepted(0x64 + 64));  // the mask's bit 0 seen again past its width
  EXPECT_FALSE(IsBiosDeviceAccepted(0xFFFF));
}

}  // namespace
