#include "app/images/bios_image_check.h"

#include "app/images/flash_version.h"
#include "app/images/fw_image_checks.h"
#include "app/images/image_transfer.h"
#include "app/images/option_rom_layout.h"
#include "app/images/rom_image_lookup.h"
#include "app/images/rom_image_version.h"
#include "app/shell/console.h"
#include "ctl/base/byte_order.h"

namespace {

// The accepted device IDs, as bits from kFirstAcceptedDevice: 0x64, 0x65,
// 0x70, 0x72, 0x74, 0x76, 0x77, 0x7E and 0x80 to 0x85.
constexpr uint16_t kFirstAcceptedDevice = 0x64;
constexpr uint32_t kAcceptedDeviceSpan = 34;
constexpr uint64_t kAcceptedDeviceMask = 0x3F40D5003ull;

}  // namespace

uint8_t BiosChecksum(const uint8_t* image, uint32_t size) {
  uint8_t sum = 0;
  for (uint32_t i = 0; i < size; ++i) sum = static_cast<uint8_t>(sum + image[i]);
  if (sum == 0) {
    ConsolePrint("\t\tBIOS Image has a Valid Checksum. \n\n");
  } else {
    ConsolePrint("\t\tERROR: BIOS Image Checksum Failed: %08X\n\n", sum);
  }
  return sum;
}

bool IsBiosDeviceAccepted(uint16_t deviceId) {
  if (deviceId < kFirstAcceptedDevice) return false;
  uint32_t bit = deviceId - kFirstAcceptedDevice;
  return bit < kAcceptedDeviceSpan && ((kAcceptedDeviceMask >> bit) & 1) != 0;
}

uint32_t ValidateBiosImage(uint8_t* image, uint32_t size, uint32_t adapter, uint16_t* iocStatus,
                           uint32_t* iocLogInfo) {
  ClearTransferStatus(iocStatus, iocLogInfo);
  ConsolePrint("\n\t\tValidating BIOS Image...\n\n");
  if (image == nullptr || !option_rom::InRegion(size, option_rom::kSignature, 2) ||
      GetLe16(image, option_rom::kSignature) != option_rom::kSignatureValue) {
    ConsolePrint("\t\tBIOS Header Signature is Invalid\n\n");
    return 0;
  }
  ConsolePrint("\t\tBIOS Header Signature is Valid\n\n");
  if (BiosChecksum(image, size) != 0) return 0;

  // The data structure, as far as the checks read it, inside the file.
  uint64_t pcir = option_rom::InRegion(size, option_rom::kPcirPointer, 2) ? GetLe16(image, option_rom::kPcirPointer)
                                                                            : static_cast<uint64_t>(size) + 1;
  if (!option_rom::InRegion(size, pcir, option_rom::kPcirFieldBytes) ||
      GetLe32(image, static_cast<size_t>(pcir) + option_rom::kPcirSignature) != option_rom::kPcirSignatureValue) {
    ConsolePrint("\t\tBIOS PCI Structure Signature Invalid!\n\n");
    return 0;
  }
  ConsolePrint("\t\tBIOS PCI Structure Signature Valid.\n\n");
  const auto at = static_cast<size_t>(pcir);

  // The file's kind: an image of it that has a version and lies whole in
  // the file (one that runs past the end could not be flashed).
  auto holds = [&](uint8_t type) {
    return GetRomImageVersion(adapter, image, size, type) != kNoRomVersion &&
           FindRomImage(image, size, nullptr, nullptr, type) != 0;
  };
  uint8_t codeType = option_rom::kCodeTypeLegacy;
  if (!holds(option_rom::kCodeTypeLegacy)) {
    if (!holds(option_rom::kCodeTypeUefi)) {
      ConsolePrint("\t\tCannot get BIOS version from image!\n\n");
      return 0;
    }
    codeType = option_rom::kCodeTypeUefi;
  }
  uint32_t version = 0;
  if (GetFlashBiosVersion(adapter, &version, kImageTypeBiosRegion, codeType) != 1) {
    ConsolePrint("\t\tERROR: Failed to get current BIOS version !\n\n");
    return 0;
  }
  if (!IsBiosDeviceAccepted(GetLe16(image, at + option_rom::kPcirDeviceId))) {
    ConsolePrint("\t\tERROR: BIOS Image not compatible with the Controller.\n\n");
    return 0;
  }
  uint16_t deviceId = 0, subsystemId = 0;
  uint8_t revision = 0;
  // The image takes the controller's device ID: never a 0 from an
  // unreadable identity.
  if (!GetControllerPciIds(adapter, &deviceId, &revision, &subsystemId)) return 0;
  PutLe16(image, at + option_rom::kPcirDeviceId, deviceId);
  ConsolePrint("\t\tBIOS Image Compatible with the Controller.\n\n");
  return 1;
}
