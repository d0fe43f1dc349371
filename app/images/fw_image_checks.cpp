#include "app/images/fw_image_checks.h"

#include "app/images/fw_image_layout.h"
#include "app/images/image_transfer.h"
#include "app/images/image_upload.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

using namespace fw_image;

// True when `bytes` bytes from `offset` lie inside the image.
bool Inside(uint32_t size, uint64_t offset, uint64_t bytes) { return offset <= size && bytes <= size - offset; }

// What the checks read of one side's NVDATA image.
struct NvdataSide {
  bool signatureValid = false;
  bool prodIdValid = false;
  uint32_t version = 0;
  uint16_t deviceId = 0;
  uint16_t subsystemId = 0;
  uint8_t vendor[kProdIdVendorBytes] = {};
  uint8_t product[kProdIdProductBytes] = {};
};

// Reads the NVDATA image whose header is at `at`; every field read must lie
// inside the image, or it counts as a wrong signature. The version counts
// as 0 under a wrong NVDATA signature.
NvdataSide ReadNvdata(const uint8_t* image, uint32_t size, uint32_t at) {
  NvdataSide side;
  if (!Inside(size, at, kNvdataFieldBytes)) return side;
  if (GetLe32(image, at + kNvdataSignature) == kNvdataSignatureValue) {
    side.signatureValid = true;
    side.version = GetLe32(image, at + kNvdataVersion);
  }
  uint64_t prodId = static_cast<uint64_t>(at) + kNvdataBase + 4ull * GetLe16(image, at + kNvdataProdIdPosition);
  if (!Inside(size, prodId, kProdIdBytes)) return side;
  auto p = static_cast<uint32_t>(prodId);
  if (GetLe32(image, p + kProdIdSignature) != kProdIdSignatureValue) return side;
  side.prodIdValid = true;
  MemCopy(side.vendor, image + p + kProdIdVendor, kProdIdVendorBytes);
  MemCopy(side.product, image + p + kProdIdProduct, kProdIdProductBytes);
  side.deviceId = GetLe16(image, p + kProdIdDeviceId);
  side.subsystemId = GetLe16(image, p + kProdIdSubsystemId);
  return side;
}

// Prints the side's signature errors, as the check goes on after them.
void ReportNvdata(const NvdataSide& side, const char* where) {
  if (!side.signatureValid) {
    ConsolePrint("\t\tERROR: Invalid NVDATA Signature in Firmware image from %s \n\n", where);
  }
  if (!side.prodIdValid) {
    ConsolePrint("\t\tERROR: Invalid NVDATA PROD_ID Signature in Firmware image from %s \n\n", where);
  }
}

uint32_t Failed() {
  ConsolePrint("\t\tFirmware Image Validation Failed! \n\n");
  return 0;
}

}  // namespace

uint32_t GetControllerPciIds(uint32_t adapter, uint16_t* deviceId, uint8_t* revision, uint16_t* subsystemId) {
  *deviceId = 0;
  *revision = 0;
  *subsystemId = 0;
  LibHandle handle = adapter;
  AdapterInfoBlock info{};
  uint32_t size = sizeof info;
  if (QmxGetAdapterInfo(0, &handle, &info, &size) != kLibOk) return 0;
  if (static_cast<uint16_t>(info.pciDeviceId) == 0) return 0;
  *deviceId = static_cast<uint16_t>(info.pciDeviceId);
  *revision = static_cast<uint8_t>(info.hardwareRevision);
  *subsystemId = static_cast<uint16_t>(info.subsystemDeviceId);
  return 1;
}

uint32_t FwImageChecksum(const uint8_t* image, uint32_t size) {
  uint32_t sum = 0;
  uint32_t whole = size / 4;
  for (uint32_t i = 0; i < whole; ++i) sum += GetLe32(image, 4u * i);
  uint32_t last = 0;
  for (uint32_t i = 4 * whole; i < size; ++i) last |= static_cast<uint32_t>(image[i]) << (8 * (i - 4 * whole));
  return sum + last;
}

bool HasFwSignature(const uint8_t* image, uint32_t size) {
  if (image == nullptr || size < kHeaderBytes) return false;
  for (uint32_t i = 0; i < 4; ++i) {
    if (GetLe32(image, kSignatureWords + 4 * i) != kSignatureValues[i]) return false;
  }
  return true;
}

uint32_t FindFwExtImage(const uint8_t* image, uint32_t size, uint8_t type, uint32_t* header, uint32_t* extSize) {
  if (!HasFwSignature(image, size)) return 0;
  // The whole chain is walked first: a lookup never trusts a chain that
  // leaves the file or turns back, whichever image it looks for.
  uint32_t found = 0;
  bool haveFound = false;
  uint32_t previous = 0;
  for (uint32_t at = GetLe32(image, kFirstExtImage); at != 0; at = GetLe32(image, at + kExtNext)) {
    if (at <= previous || !Inside(size, at, kExtHeaderBytes)) return 0;
    if (!haveFound && Get8(image, at + kExtType) == type) {
      found = at;
      haveFound = true;
    }
    previous = at;
  }
  if (!haveFound) return 0;
  if (header != nullptr) *header = found;
  if (extSize != nullptr) *extSize = GetLe32(image, found + kExtSize);
  return 1;
}

uint32_t CheckSupportedDevices(uint32_t adapter, const uint8_t* image, uint32_t size) {
  uint16_t deviceId = 0, subsystemId = 0;
  uint8_t revision = 0;
  bool identity = GetControllerPciIds(adapter, &deviceId, &revision, &subsystemId) != 0;
  uint32_t at = 0;
  if (!FindFwExtImage(image, size, kExtSupportedDevices, &at, nullptr)) {
    ConsolePrint("\t\tERROR: Failed to find Supported Devices Extended Image \n\n");
    return 0;
  }
  // Without the controller's identity there is nothing to compare with.
  if (!identity) return 0;
  // A list that runs past the file is as good as none.
  auto unreadable = [] {
    ConsolePrint("\t\tERROR: Failed to find Supported Devices Extended Image \n\n");
    return 0u;
  };
  if (!Inside(size, at, kDeviceCount + 1)) return unreadable();
  uint32_t count = Get8(image, at + kDeviceCount);
  if (!Inside(size, at, kDeviceEntries + static_cast<uint64_t>(count) * kDeviceEntryBytes)) return unreadable();
  bool matched = false;
  uint32_t result = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t e = at + kDeviceEntries + i * kDeviceEntryBytes;
    if (GetLe16(image, e + kEntryDeviceId) != deviceId) continue;
    matched = true;
    uint8_t lowest = Get8(image, e + kEntryLowestRevision);
    uint8_t highest = Get8(image, e + kEntryHighestRevision);
    if (revision < lowest || revision > highest) {
      ConsolePrint("\t\tERROR: Firmware image does not support Target \n\t\tAdapter Chip Revision (%x) \n\n", revision);
      continue;
    }
    result = 1;
  }
  if (!matched) {
    ConsolePrint("\t\tERROR: Firmware image does not support Target \n\t\tAdapter Device ID (%x) \n\n", deviceId);
    return 0;
  }
  return result;
}

uint32_t CheckNvdataCompat(uint32_t adapter, const uint8_t* file, uint32_t fileSize, const uint8_t* flash,
                           uint32_t flashSize, uint32_t skipVersionCheck, uint32_t skipIdentityCheck) {
  uint32_t fileAt = 0, flashAt = 0;
  if (!FindFwExtImage(file, fileSize, kExtNvdata, &fileAt, nullptr)) {
    ConsolePrint("\t\tERROR: Failed to get valid NVDATA image from File! \n\n");
    return 0;
  }
  NvdataSide fileSide = ReadNvdata(file, fileSize, fileAt);
  NvdataSide flashSide;  // a flash copy without NVDATA: version 0, no identification
  const bool haveFlash = flash != nullptr;
  bool flashNvdata = haveFlash && FindFwExtImage(flash, flashSize, kExtNvdata, &flashAt, nullptr);
  if (haveFlash && !flashNvdata) ConsolePrint("\t\tERROR: Failed to get valid NVDATA image from Flash! \n\n");
  ReportNvdata(fileSide, "File");
  if (flashNvdata) {
    flashSide = ReadNvdata(flash, flashSize, flashAt);
    ReportNvdata(flashSide, "Flash");
  }
  // The identity and version tests need the file's own NVDATA: a file
  // without it is never written.
  if (!fileSide.signatureValid || !fileSide.prodIdValid) return 0;

  uint16_t deviceId = 0, subsystemId = 0;
  uint8_t revision = 0;
  if (!GetControllerPciIds(adapter, &deviceId, &revision, &subsystemId)) return 0;

  if (!skipIdentityCheck) {
    if (fileSide.deviceId != deviceId) {
      ConsolePrint("\t\tERROR: NVDATA Image does not match Controller Device ID! \n\t\t       Device ID - NVDATA:0x%x "
                   "Controller:0x%x \n\n",
                   fileSide.deviceId, deviceId);
      return 0;
    }
    if (fileSide.subsystemId != subsystemId) {
      ConsolePrint("\t\tERROR: NVDATA Image does not match Controller Sub System ID! \n\t\t       SSID - NVDATA:0x%x "
                   "Controller:0x%x \n\n",
                   fileSide.subsystemId, subsystemId);
      return 0;
    }
  }
  if (!haveFlash) return 1;

  if (PackageModeFlag != 0 || skipVersionCheck == 0) {
    if ((fileSide.version & kNvdataVersionMajorMask) < (flashSide.version & kNvdataVersionMajorMask)) {
      ConsolePrint("\t\tERROR: Cannot downgrade NVDATA version 0x%x to 0x%x.\n\n", flashSide.version, fileSide.version);
      return 0;
    }
    ConsolePrint("\t\tNVDATA Versions Compatible.\n\n");
  }

  // A flash side without identification cannot match: the user decides.
  if (flashSide.prodIdValid && MemEqual(fileSide.vendor, flashSide.vendor, kProdIdVendorBytes) &&
      MemEqual(fileSide.product, flashSide.product, kProdIdProductBytes)) {
    ConsolePrint("\t\tNVDATA Product ID and Vendor ID match verified.\n\n");
    return 1;
  }
  ConsolePrint("\t\tNVDATA Product ID and Vendor ID do not match.\n\t\tWould you like to flash anyway [y/n]? ");
  int answer = ReadAnswerChar();
  ConsolePrint("\n");
  return answer == 'y' || answer == 'Y' ? 1 : 0;
}

uint32_t CheckFwProductVendorId(const uint8_t* file, uint32_t fileSize, const uint8_t* flash, uint32_t flashSize) {
  // Both sides have passed their header checks; a flash copy too short to
  // hold the words compares as different.
  bool readable = Inside(fileSize, kIdentifierWord1, 2) && flash != nullptr && Inside(flashSize, kIdentifierWord1, 2);
  if (readable && (GetLe16(file, kIdentifierWord0) == GetLe16(flash, kIdentifierWord0) ||
                   GetLe16(file, kIdentifierWord1) == GetLe16(flash, kIdentifierWord1))) {
    return 1;
  }
  ConsolePrint("\t\tERROR: Product ID and Vendor ID match FAILED.\n\n");
  return 0;
}

uint32_t ValidateFwImage(const uint8_t* image, uint32_t size, uint32_t adapter, uint16_t* iocStatus,
                         uint32_t* iocLogInfo, uint32_t skipVersionCheck, uint32_t skipIdentityCheck) {
  ClearTransferStatus(iocStatus, iocLogInfo);
  if (!HasFwSignature(image, size)) {
    ConsolePrint("\t\tERROR: Firmware Image does not have a Valid Signature. \n\n");
    return Failed();
  }
  uint32_t sum = FwImageChecksum(image, size);
  if (sum != 0) {
    ConsolePrint("\t\tERROR: Firmware Image Checksum Failed: %08X\n\n", sum);
    return Failed();
  }
  ConsolePrint("\t\tFirmware Image has a Valid Checksum. \n\n");
  if (!CheckSupportedDevices(adapter, image, size)) return Failed();
  ConsolePrint("\t\tFirmware Image compatible with Controller. \n\n");
  if (!FindFwExtImage(image, size, kExtNvdata, nullptr, nullptr)) {
    ConsolePrint("\t\tERROR: Firmware Image does not have a valid NVDATA image! \n\n");
    return Failed();
  }
  ConsolePrint("\t\tValid NVDATA Image found. \n\n");

  AppBuffer flash;
  uint32_t flashSize = 0;
  if (!UploadFlashImage(adapter, kImageTypeFirmware, &flash, &flashSize, 0, iocStatus, iocLogInfo)) {
    return Failed();
  }
  if (!CheckNvdataCompat(adapter, image, size, flash.get(), flashSize, skipVersionCheck, skipIdentityCheck)) {
    return Failed();
  }
  if (!FindFwExtImage(image, size, kExtInitialization, nullptr, nullptr)) {
    ConsolePrint("\t\tERROR: Firmware Image does not have a valid Initialization image.\n");
    return Failed();
  }
  ConsolePrint("\t\tValid Initialization Image verified.\n\n");
  if (!FindFwExtImage(image, size, kExtBootLoader, nullptr, nullptr)) {
    ConsolePrint("\t\tERROR: Firmware Image does not have a valid BootLoader image.\n");
    return Failed();
  }
  ConsolePrint("\t\tValid BootLoader Image verified.\n\n");
  if (!CheckFwProductVendorId(image, size, flash.get(), flashSize)) return Failed();
  return 1;
}

bool ReadFwBoardName(const uint8_t* image, uint32_t size, std::string* name) {
  name->clear();
  if (image == nullptr || size <= kBoardName) return false;
  for (uint32_t i = kBoardName; i < size && i < kBoardName + kBoardNameBytes && image[i] != 0; ++i) {
    name->push_back(static_cast<char>(image[i]));
  }
  return true;
}
