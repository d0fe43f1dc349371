// The controller firmware image checks against the emulated default card
// (device 0x7E revision 2, subsystem 0x0500): one table of valid and corrupt
// image files, each row with the whole output it must give, then the rules
// that need a second side (the flash copy, the keyboard, the package mode).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/images/fw_image_checks.h"
#include "app/shell/program_state.h"
#include "card_fixture.h"
#include "fw_fixtures.h"

namespace {

using fw_test::FwCorruption;
using fw_test::FwFields;
using Bytes = std::vector<uint8_t>;

const std::string kChecksumOk = "\t\tFirmware Image has a Valid Checksum. \n\n";
const std::string kCompatible = "\t\tFirmware Image compatible with Controller. \n\n";
const std::string kNvdataFound = "\t\tValid NVDATA Image found. \n\n";
const std::string kVersionsOk = "\t\tNVDATA Versions Compatible.\n\n";
const std::string kIdsMatch = "\t\tNVDATA Product ID and Vendor ID match verified.\n\n";
const std::string kInitOk = "\t\tValid Initialization Image verified.\n\n";
const std::string kBootOk = "\t\tValid BootLoader Image verified.\n\n";
const std::string kFailed = "\t\tFirmware Image Validation Failed! \n\n";
const std::string kNoDevicesImage = "\t\tERROR: Failed to find Supported Devices Extended Image \n\n";
const std::string kUpToNvdata = kChecksumOk + kCompatible + kNvdataFound;
const std::string kPrompt =
    "\t\tNVDATA Product ID and Vendor ID do not match.\n\t\tWould you like to flash anyway [y/n]? \n";

class FwImageChecks : public app_test::CardFixture {
 protected:
  uint32_t Validate(const Bytes& image, uint32_t skipVersion = 0, uint32_t skipIdentity = 0) {
    uint16_t status = 0x7777;
    uint32_t logInfo = 0x77777777;
    uint32_t valid = ValidateFwImage(image.data(), static_cast<uint32_t>(image.size()), adapter_, &status, &logInfo,
                                     skipVersion, skipIdentity);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(logInfo, 0u);
    return valid;
  }
};

TEST_F(FwImageChecks, ImageFilesTable) {
  struct Row {
    const char* name;
    Bytes image;
    uint32_t valid;
    std::string output;
  };
  auto bad = [](FwCorruption c) { return fw_test::Corrupted(c); };
  const Row rows[] = {
      {"valid image", fw_test::FwImage(), 1,
       kUpToNvdata + kVersionsOk + kIdsMatch + kInitOk + kBootOk},
      {"bad signature", bad(FwCorruption::kBadSignature), 0,
       "\t\tERROR: Firmware Image does not have a Valid Signature. \n\n" + kFailed},
      {"words sum to 1", bad(FwCorruption::kBadChecksum), 0,
       "\t\tERROR: Firmware Image Checksum Failed: 00000001\n\n" + kFailed},
      {"file ends inside the header", bad(FwCorruption::kShortHeader), 0,
       "\t\tERROR: Firmware Image does not have a Valid Signature. \n\n" + kFailed},
      {"empty file", Bytes{}, 0, "\t\tERROR: Firmware Image does not have a Valid Signature. \n\n" + kFailed},
      // A chain that leaves the file or turns back is no chain at all: the
      // first lookup already refuses it.
      {"file ends inside the chain", bad(FwCorruption::kTruncatedChain), 0, kChecksumOk + kNoDevicesImage + kFailed},
      {"no extended images", bad(FwCorruption::kNoExtendedImages), 0, kChecksumOk + kNoDevicesImage + kFailed},
      {"chain leaves the file", bad(FwCorruption::kChainOutsideFile), 0, kChecksumOk + kNoDevicesImage + kFailed},
      {"chain points back", bad(FwCorruption::kChainPointsBack), 0, kChecksumOk + kNoDevicesImage + kFailed},
      {"chain points to itself", bad(FwCorruption::kChainToItself), 0, kChecksumOk + kNoDevicesImage + kFailed},
      {"no supported devices", bad(FwCorruption::kNoSupportedDevices), 0, kChecksumOk + kNoDevicesImage + kFailed},
      {"device count past the file", bad(FwCorruption::kDeviceCountPastFile), 0,
       kChecksumOk + kNoDevicesImage + kFailed},
      {"wrong device ID", bad(FwCorruption::kWrongDeviceId), 0,
       kChecksumOk + "\t\tERROR: Firmware image does not support Target \n\t\tAdapter Device ID (7e) \n\n" + kFailed},
      {"revision out of range", bad(FwCorruption::kRevisionOutOfRange), 0,
       kChecksumOk + "\t\tERROR: Firmware image does not support Target \n\t\tAdapter Chip Revision (2) \n\n" +
           kFailed},
      {"no NVDATA", bad(FwCorruption::kNoNvdata), 0,
       kChecksumOk + kCompatible + "\t\tERROR: Firmware Image does not have a valid NVDATA image! \n\n" + kFailed},
      // A file whose NVDATA cannot be read is refused, not judged on zeros.
      {"bad NVDATA signature", bad(FwCorruption::kBadNvdataSignature), 0,
       kUpToNvdata + "\t\tERROR: Invalid NVDATA Signature in Firmware image from File \n\n" + kFailed},
      {"bad PROD_ID signature", bad(FwCorruption::kBadProdIdSignature), 0,
       kUpToNvdata + "\t\tERROR: Invalid NVDATA PROD_ID Signature in Firmware image from File \n\n" + kFailed},
      {"PROD_ID outside the file", bad(FwCorruption::kProdIdOutsideFile), 0,
       kUpToNvdata + "\t\tERROR: Invalid NVDATA PROD_ID Signature in Firmware image from File \n\n" + kFailed},
      {"NVDATA for another device", bad(FwCorruption::kNvdataDeviceMismatch), 0,
       kUpToNvdata +
           "\t\tERROR: NVDATA Image does not match Controller Device ID! \n\t\t       Device ID - NVDATA:0x72 "
           "Controller:0x7e \n\n" +
           kFailed},
      {"NVDATA for another subsystem", bad(FwCorruption::kNvdataSubsystemMismatch), 0,
       kUpToNvdata +
           "\t\tERROR: NVDATA Image does not match Controller Sub System ID! \n\t\t       SSID - NVDATA:0x501 "
           "Controller:0x500 \n\n" +
           kFailed},
      {"older NVDATA", bad(FwCorruption::kNvdataDowngrade), 0,
       kUpToNvdata + "\t\tERROR: Cannot downgrade NVDATA version 0xe100003 to 0xe0fffff.\n\n" + kFailed},
      {"no initialization image", bad(FwCorruption::kNoInitialization), 0,
       kUpToNvdata + kVersionsOk + kIdsMatch +
           "\t\tERROR: Firmware Image does not have a valid Initialization image.\n" + kFailed},
      {"no boot loader", bad(FwCorruption::kNoBootLoader), 0,
       kUpToNvdata + kVersionsOk + kIdsMatch + kInitOk +
           "\t\tERROR: Firmware Image does not have a valid BootLoader image.\n" + kFailed},
      {"both identifier words differ", bad(FwCorruption::kIdentifiersDiffer), 0,
       kUpToNvdata + kVersionsOk + kIdsMatch + kInitOk + kBootOk +
           "\t\tERROR: Product ID and Vendor ID match FAILED.\n\n" + kFailed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Validate(row.image), row.valid);
    EXPECT_EQ(card().TakeOutput(), row.output);
  }
}

// The boundaries of the rules that compare with the flash copy.
TEST_F(FwImageChecks, NvdataVersionsAndIdentifiersAgainstFlash) {
  struct Row {
    const char* name;
    uint32_t fileVersion;
    uint16_t identifier0, identifier1;
    uint32_t skipVersion;
    uint32_t package;
    uint32_t valid;
    std::string output;
  };
  const std::string rest = kIdsMatch + kInitOk + kBootOk;
  const std::string downgrade = "\t\tERROR: Cannot downgrade NVDATA version 0xe100003 to 0xe0f0000.\n\n";
  const Row rows[] = {
      {"low half larger", 0x0E10FFFF, 0x1000, 0x2214, 0, 0, 1, kUpToNvdata + kVersionsOk + rest},
      {"low half smaller", 0x0E100000, 0x1000, 0x2214, 0, 0, 1, kUpToNvdata + kVersionsOk + rest},
      {"upper half newer", 0x0E110000, 0x1000, 0x2214, 0, 0, 1, kUpToNvdata + kVersionsOk + rest},
      {"upper half older", 0x0E0F0000, 0x1000, 0x2214, 0, 0, 0, kUpToNvdata + downgrade + kFailed},
      // Erasing the configuration lets an older NVDATA in, without the
      // versions line; a package never does.
      {"older, erase option", 0x0E0F0000, 0x1000, 0x2214, 1, 0, 1, kUpToNvdata + rest},
      {"older, erase option in a package", 0x0E0F0000, 0x1000, 0x2214, 1, 1, 0, kUpToNvdata + downgrade + kFailed},
      {"first identifier word differs", 0x0E100003, 0x1001, 0x2214, 0, 0, 1, kUpToNvdata + kVersionsOk + rest},
      {"second identifier word differs", 0x0E100003, 0x1000, 0x2215, 0, 0, 1, kUpToNvdata + kVersionsOk + rest},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FwFields fields;
    fields.nvdataVersion = row.fileVersion;
    fields.identifier0 = row.identifier0;
    fields.identifier1 = row.identifier1;
    PackageModeFlag = row.package;
    EXPECT_EQ(Validate(fw_test::FwImage(fields), row.skipVersion), row.valid);
    PackageModeFlag = 0;
    EXPECT_EQ(card().TakeOutput(), row.output);
  }
}

// Identification that differs in one byte, or is missing on the flash side,
// asks the user; the answer's first character decides and its whole line is
// taken, so the next prompt does not read its rest.
TEST_F(FwImageChecks, IdentificationMismatchAsksTheUser) {
  struct Row {
    const char* name;
    std::string vendor, product;
    bool flashProdIdBroken;
    std::string input;
    uint32_t valid;
  };
  const Row rows[] = {
      {"Y accepts", "ULVANE  ", "Corvexium      X", false, "Y\nnext\n", 1},
      {"y accepts", "ULVANX  ", "Corvexium       ", false, "yes\nnext\n", 1},
      {"n refuses", "ULVANX  ", "Corvexium       ", false, "n\nnext\n", 0},
      {"empty line refuses", "ULVANX  ", "Corvexium       ", false, "\nnext\n", 0},
      {"end of input refuses", "ULVANX  ", "Corvexium       ", false, "", 0},
      {"flash identification missing", "ULVANE  ", "Corvexium       ", true, "y\nnext\n", 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Start(emu::DefaultHost());
    if (row.flashProdIdBroken) fw_test::PutLe32(&model().images[1].bytes, 0x200 + 0x40 + 4 * 0x10, 0);
    card().SetInput(row.input);
    FwFields fields;
    fields.vendor = row.vendor;
    fields.product = row.product;
    EXPECT_EQ(Validate(fw_test::FwImage(fields)), row.valid);
    std::string flashError =
        row.flashProdIdBroken ? "\t\tERROR: Invalid NVDATA PROD_ID Signature in Firmware image from Flash \n\n" : "";
    EXPECT_EQ(card().TakeOutput(), kUpToNvdata + flashError + kVersionsOk + kPrompt +
                                       (row.valid ? kInitOk + kBootOk : kFailed));
    if (!row.input.empty()) {
      std::string next;
      for (int c = card().ReadChar(); c >= 0 && c != '\n'; c = card().ReadChar()) next.push_back(static_cast<char>(c));
      EXPECT_EQ(next, "next");
    }
  }
}

TEST_F(FwImageChecks, RevisionRangesAndFlashCopy) {
  // Two entries for the device: the first excludes revision 2, the second
  // holds it at its lower end; the refusal of the first is still printed.
  FwFields fields;
  fields.devices = {{0x7E, 3, 9}, {0x72, 0, 0xFF}, {0x7E, 2, 2}};
  EXPECT_EQ(Validate(fw_test::FwImage(fields)), 1u);
  EXPECT_EQ(card().TakeOutput(),
            kChecksumOk + "\t\tERROR: Firmware image does not support Target \n\t\tAdapter Chip Revision (2) \n\n" +
                kCompatible + kNvdataFound + kVersionsOk + kIdsMatch + kInitOk + kBootOk);

  // The flash copy cannot be read: its upload's message, then the failure.
  card().AnswerFunction(0x12, 0x0004, 0, 1);
  uint16_t status = 0;
  uint32_t logInfo = 0;
  Bytes image = fw_test::FwImage();
  EXPECT_EQ(ValidateFwImage(image.data(), static_cast<uint32_t>(image.size()), adapter_, &status, &logInfo, 0, 0), 0u);
  EXPECT_EQ(status, 0x0004);
  EXPECT_EQ(card().TakeOutput(), kUpToNvdata + "\tERROR: Failed to Upload Image!\n" + kFailed);

  // A flash copy without NVDATA: the file is still read, the flash version
  // counts as 0 and the missing identification asks the user.
  Start(emu::DefaultHost());
  model().images[1].bytes[0x200] = 9;
  card().SetInput("n\n");
  EXPECT_EQ(Validate(image), 0u);
  EXPECT_EQ(card().TakeOutput(),
            kUpToNvdata + "\t\tERROR: Failed to get valid NVDATA image from Flash! \n\n" + kVersionsOk + kPrompt + kFailed);
}

// Without the controller's identity nothing is compared: no device ID 0 is
// taken for the controller's.
TEST_F(FwImageChecks, UnreadableIdentityFailsValidation) {
  const uint32_t unknown = adapter_ + 0x1000;
  uint16_t deviceId = 1, subsystemId = 1;
  uint8_t revision = 1;
  EXPECT_EQ(GetControllerPciIds(unknown, &deviceId, &revision, &subsystemId), 0u);
  EXPECT_EQ(deviceId, 0);
  EXPECT_EQ(revision, 0);
  EXPECT_EQ(subsystemId, 0);
  EXPECT_EQ(GetControllerPciIds(adapter_, &deviceId, &revision, &subsystemId), 1u);
  EXPECT_EQ(deviceId, 0x7E);
  EXPECT_EQ(revision, 2);
  EXPECT_EQ(subsystemId, 0x0500);

  Bytes image = fw_test::FwImage();
  uint16_t status = 0;
  uint32_t logInfo = 0;
  EXPECT_EQ(ValidateFwImage(image.data(), static_cast<uint32_t>(image.size()), unknown, &status, &logInfo, 0, 0), 0u);
  EXPECT_EQ(card().TakeOutput(), kChecksumOk + kFailed);

  Bytes flash = model().images[1].bytes;
  EXPECT_EQ(CheckNvdataCompat(unknown, image.data(), static_cast<uint32_t>(image.size()), flash.data(),
                              static_cast<uint32_t>(flash.size()), 0, 1),
            0u);
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST(FwImageFormat, ChecksumLookupAndBoardName) {
  // The sum wraps and takes a last partial word with its missing bytes 0.
  const uint8_t words[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00};
  EXPECT_EQ(FwImageChecksum(words, 8), 0u);
  const uint8_t partial[] = {0x00, 0x00, 0x00, 0x00, 0x01, 0x02};
  EXPECT_EQ(FwImageChecksum(partial, 6), 0x0201u);
  EXPECT_EQ(FwImageChecksum(partial, 0), 0u);

  Bytes image = fw_test::FwImage();
  uint32_t header = 0, size = 0;
  EXPECT_EQ(FindFwExtImage(image.data(), static_cast<uint32_t>(image.size()), 5, &header, &size), 1u);
  EXPECT_EQ(header, fw_test::kInitAt);
  EXPECT_EQ(size, 0x800u);
  EXPECT_EQ(FindFwExtImage(image.data(), static_cast<uint32_t>(image.size()), 6, &header, nullptr), 0u);
  // The chain ends inside the file: an image found before a broken link is
  // not trusted either.
  Bytes broken = fw_test::Corrupted(FwCorruption::kChainPointsBack);
  EXPECT_EQ(FindFwExtImage(broken.data(), static_cast<uint32_t>(broken.size()), 7, &header, nullptr), 0u);
  // Ends exactly at the file's end: the last header's 0x40 bytes are in.
  Bytes tight = fw_test::FwImage();
  fw_test::PutLe32(&tight, fw_test::kInitAt + 0x0C, static_cast<uint32_t>(tight.size()) - 0x40);
  for (size_t i = tight.size() - 0x40; i < tight.size(); ++i) tight[i] = 0;
  tight[tight.size() - 0x40] = 6;
  EXPECT_EQ(FindFwExtImage(tight.data(), static_cast<uint32_t>(tight.size()), 6, &header, nullptr), 1u);
  EXPECT_EQ(FindFwExtImage(tight.data(), static_cast<uint32_t>(tight.size()) - 4, 6, &header, nullptr), 0u);

  struct NameRow {
    const char* name;
    std::string board;
    uint32_t size;
    bool read;
    std::string expected;
  } names[] = {
      {"terminated", "Corvexium", 0x2000, true, "Corvexium"},
      {"fills the field", "Corvexium-XL-16c", 0x2000, true, "Corvexium-XL-16c"},
      {"file ends inside the name", "Corvexium", 0xB4, true, "Corv"},
      {"file ends before the name", "Corvexium", 0xB0, false, ""},
  };
  for (const NameRow& row : names) {
    SCOPED_TRACE(row.name);
    FwFields fields;
    fields.boardName = row.board;
    Bytes named = fw_test::FwImage(fields);
    named[0xC0] = 'Z';  // the byte after the field is not part of the name
    std::string name = "x";
    EXPECT_EQ(ReadFwBoardName(named.data(), row.size, &name), row.read);
    EXPECT_EQ(name, row.expected);
  }
}

}  // namespace
