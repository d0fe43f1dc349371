// The checks of a flash package: the file alone first (so that every later
// read stays inside it), then each entry's image against the selected card.
#include <string>

#include "app/card/board_type.h"
#include "app/images/bios_image_check.h"
#include "app/images/fw_image_checks.h"
#include "app/images/fw_image_layout.h"
#include "app/images/image_transfer.h"
#include "app/images/image_upload.h"
#include "app/modules/module_image_layouts.h"
#include "app/modules/module_protocol.h"
#include "app/card/device_protocol.h"
#include "app/package/flash_package.h"
#include "app/package/flash_package_layout.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

uint32_t Fail(const char* line) {
  ConsolePrint("%s", line);
  return 1;
}

constexpr char kInvalidSize[] = "\t\tInvalid file size.\n";

struct Entry {
  uint8_t type;
  uint32_t offset;
  uint32_t size;
  uint32_t configIdLow;
  uint32_t configIdHigh;
};

Entry ReadEntry(const uint8_t* package, uint32_t index) {
  const uint8_t* e = package + FlashPkgEntryOffset(index);
  return {Get8(e, flash_pkg_entry::kImageType), GetLe32(e, flash_pkg_entry::kOffset),
          GetLe32(e, flash_pkg_entry::kSize), GetLe32(e, flash_pkg_entry::kConfigIdLow),
          GetLe32(e, flash_pkg_entry::kConfigIdHigh)};
}

bool KnownType(uint8_t type) { return type >= kPkgImageFirmware && type <= kPkgImageIgnored; }

// The module firmware entry against every SATA module of the card: each
// must be the configuration the image is made for. 0 matched, 1 mismatch
// or unreadable (messages printed), 2 when a module's protocol cannot be
// had (the validation ends at once).
uint32_t CheckModulesFor(const Entry& entry, uint32_t vx) {
  uint32_t result = 0;
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    uint32_t lookup = LibZKFindSSDHandle(vx, slot, &ssd);
    if (lookup == kModuleNotThere) continue;
    uint32_t protocol = kProtocolSata;
    // A module that cannot be looked up is not passed over unchecked.
    if (lookup != kModuleFound || ModuleProtocol(vx, ssd, &protocol) != 0) {
      ConsolePrint("\n%s: Failed getting device information.\n", kUtilityTitle);
      return 2;
    }
    if (protocol == kProtocolSas) continue;
    uint8_t diag[kDiagInfoSize] = {};
    if (LibZKSSDGetDiagInfo(vx, ssd, diag, diag_info::kReadSize) != 0) {
      ConsolePrint("\t\tFailed to get Configuration ID \n");
      result = 1;
      continue;
    }
    if (GetLe32(diag, diag_info::kConfigId) != entry.configIdLow ||
        GetLe32(diag, diag_info::kModelType) != entry.configIdHigh) {
      ConsolePrint("\n\t\tFlash type mismatch on SSD\n");
      return 1;
    }
  }
  return result;
}

}  // namespace

uint32_t ComputeFlashPkgChecksum(const uint8_t* package, uint32_t length) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < length; ++i) {
    bool inField = length >= flash_pkg_header::kSize && i >= flash_pkg_header::kChecksum &&
                   i < flash_pkg_header::kChecksum + 4;
    if (!inField) sum += package[i];
  }
  return sum;
}

uint32_t CheckFlashPkgFile(const uint8_t* package, uint32_t size) {
  namespace h = flash_pkg_header;
  if (package == nullptr || size < h::kSize) return Fail(kInvalidSize);
  if (GetLe32(package, h::kSignature0) != h::kSignature0Value ||
      GetLe32(package, h::kSignature1) != h::kSignature1Value) {
    ConsolePrint("%s: Invalid package signature.\n", kUtilityTitle);
    return 1;
  }
  uint32_t version = GetLe32(package, h::kHeaderVersion);
  if (version > h::kNewestHeaderVersion) {
    ConsolePrint("%s: Flash package header version %02d.%02d.%02d.%02d is newer than %02d.%02d.%02d.%02d.\n",
                 kUtilityTitle, package[h::kHeaderVersion + 3], package[h::kHeaderVersion + 2],
                 package[h::kHeaderVersion + 1], package[h::kHeaderVersion], 1, 0, 0, 0);
    return 1;
  }
  if (ComputeFlashPkgChecksum(package, size) != GetLe32(package, h::kChecksum)) {
    ConsolePrint("%s: Checksum error.\n", kUtilityTitle);
    return 1;
  }
  uint8_t type = Get8(package, h::kPackageType);
  if (type == 0 || type > h::kHighestPackageType) {
    ConsolePrint("%s: Package type not supported. Type: 0x%x\n", kUtilityTitle, type);
    return 1;
  }
  // The entry table and every entry's data lie inside the file, the data
  // after the table: no image check reads past the file.
  uint32_t count = Get8(package, h::kEntryCount);
  uint64_t tableEnd = FlashPkgEntryOffset(count);
  if (tableEnd > size) return Fail(kInvalidSize);
  uint32_t firmwareEntries = 0;
  for (uint32_t i = 0; i < count; ++i) {
    Entry entry = ReadEntry(package, i);
    if (entry.offset < tableEnd || uint64_t{entry.offset} + entry.size > size) {
      ConsolePrint("\t\tPackage entry %u lies outside the package file.\n", i);
      return 1;
    }
    if (!KnownType(entry.type)) {
      ConsolePrint("\t\tPackage entry %u has an unknown image type 0x%x.\n", i, entry.type);
      return 1;
    }
    if (entry.type == kPkgImageFirmware) ++firmwareEntries;
  }
  // The board name is checked on the firmware entry that is flashed: there
  // must be only one.
  if (firmwareEntries > 1) return Fail("\t\tPackage contains more than one controller firmware image.\n\n");
  return 0;
}

uint32_t ValidateFlashPkg(uint8_t* package, uint32_t size) {
  if (CheckFlashPkgFile(package, size) != 0) return 1;
  uint32_t vx = 0;
  uint32_t status = LibZKGetVXHandle(SelectedController - 1, &vx);
  if (status != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return status;
  }
  uint32_t count = Get8(package, flash_pkg_header::kEntryCount);
  bool error = false;
  bool firmware = false;
  bool bios = false;
  uint64_t total = 0;
  for (uint32_t i = 0; i < count; ++i) {
    Entry entry = ReadEntry(package, i);
    uint8_t* data = package + entry.offset;
    switch (entry.type) {
      case kPkgImageFirmware:
        firmware = true;
        if (!error && ValidateFwImage(data, entry.size, vx, nullptr, nullptr, 0, 0) == 0) error = true;
        break;
      case kPkgImageBios:
      case kPkgImageUefi:
        bios = true;
        if (!error && ValidateBiosImage(data, entry.size, vx, nullptr, nullptr) == 0) error = true;
        break;
      case kPkgImageBiosOther:
        // It goes into the BIOS region as the others do: checked as they are.
        if (!error && ValidateBiosImage(data, entry.size, vx, nullptr, nullptr) == 0) error = true;
        break;
      case kPkgImageSsdFirmware:
        if (error) break;
        if (!SsdFwImageHoldsHeader(entry.size)) {
          ConsolePrint("\t\tInvalid SSD firmware image (%u bytes) in package entry %u.\n", entry.size, i);
          error = true;
          break;
        }
        switch (CheckModulesFor(entry, vx)) {
          case 0: break;
          case 1: error = true; break;
          default: return 1;
        }
        break;
      default:
        break;
    }
    total += entry.size;
  }
  if (!error && (!firmware || !bios)) return Fail("\t\tPackage does not contain required image.\n\n");
  if (!error && size != FlashPkgEntryOffset(count) + total) return Fail(kInvalidSize);
  if (error) return 1;
  AdapterInfoBlock info;
  MemSet(&info, 0, sizeof info);
  uint32_t infoSize = sizeof info;
  return QmxGetAdapterInfo(SelectedController - 1, nullptr, &info, &infoSize);
}

uint32_t CheckPkgBoardType(const uint8_t* package, uint32_t subsystemId, uint32_t adapterIndex) {
  uint32_t boardType = GetBoardType(adapterIndex);
  uint8_t type = Get8(package, flash_pkg_header::kPackageType);
  bool compatible = false;
  if (boardType == kBoardTypeInvalid) {
    ConsolePrint("\n\n Invalid Board Type \n\n");
  } else if (type == kPkgTypeUnconfigured) {
    compatible = subsystemId == kUnconfiguredSubsystemId;
  } else if (type != 0 && type <= flash_pkg_header::kHighestPackageType) {
    compatible = type == boardType;
  }
  ConsolePrint("\t\tPackage Type: 0x%X, PCI SubSystem ID: 0x%X\n\n", type, subsystemId);
  if (!compatible) ConsolePrint("\t\tPackage and Corvexium are not compatible.\n\n");
  return compatible ? 0 : 1;
}

uint32_t CheckPkgOemAndBoardName(const uint8_t* package, uint32_t size) {
  uint32_t adapterIndex = SelectedController - 1;
  AdapterInfoBlock info;
  MemSet(&info, 0, sizeof info);
  uint32_t infoSize = sizeof info;
  if (QmxGetAdapterInfo(adapterIndex, nullptr, &info, &infoSize) != kLibOk) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return 0;
  }
  if (CheckPkgBoardType(package, info.subsystemDeviceId, adapterIndex) != 0) return 0;
  AppBuffer flashImage;
  uint32_t flashSize = 0;
  if (UploadFlashImage(info.adapterHandle, kImageTypeFirmware, &flashImage, &flashSize, 0, nullptr, nullptr) == 0) {
    ConsolePrint("\t\tFailed to get current package name from Corvexium.\n\n");
    return 0;
  }
  const uint8_t* flash = flashImage.get();
  uint32_t result = 0;
  uint32_t count = Get8(package, flash_pkg_header::kEntryCount);
  for (uint32_t i = 0; i < count; ++i) {
    Entry entry = ReadEntry(package, i);
    if (entry.type != kPkgImageFirmware) continue;
    const uint8_t* image = package + entry.offset;
    std::string packageName;
    std::string flashName;
    ReadFwBoardName(image, entry.size, &packageName);
    ReadFwBoardName(flash, flashSize, &flashName);
    if (packageName != flashName || !HasFwSignature(flash, flashSize)) {
      ConsolePrint("\t\tThe specified package file is not compatible with the selected Corvexium. \n\t\tPackage "
                   "Board Name   : %s \n\t\tCorvexium Board Name : %s\n\n",
                   packageName.c_str(), flashName.c_str());
      break;
    }
    uint8_t flashOem = Get8(flash, fw_image::kOemIdentifier);
    uint8_t packageOem = Get8(image, fw_image::kOemIdentifier);
    if (flashOem != packageOem) {
      ConsolePrint("\t\tOEM Identifier %02d does not match to %02d.\n\n", flashOem, packageOem);
      break;
    }
    result = 1;
    break;
  }
  return result;
}
