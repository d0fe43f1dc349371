// The images in a new card's flash: the controller firmware (image type 1)
// and the option-ROM region (image type 2). Both are complete enough for the
// program's checks: the firmware has its signatures, a zero word checksum and
// the supported-devices, NVDATA, boot-loader and initialization images; the
// region is a legacy x86 BIOS, then a UEFI driver (the last image of the
// chain), then the trailing components of both groups (0x10 and 0x30, IDs
// 0x102, 0x110, 0x112, 0x113 each), every piece summing to 0 byte-wise.
#include "emu/host/host_model.h"
#include "emu/flash/image_layouts.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

using namespace images;

// Deterministic filler that looks like code rather than zeros.
void Fill(std::vector<uint8_t>* bytes, size_t from, size_t to, uint32_t seed) {
  uint32_t state = seed * 2654435761u + 1;
  for (size_t i = from; i < to && i < bytes->size(); ++i) {
    state = state * 1103515245u + 12345u;
    (*bytes)[i] = static_cast<uint8_t>(state >> 16);
  }
}

void PutExtHeader(std::vector<uint8_t>* image, uint32_t at, uint8_t type, uint32_t size,
                  uint32_t next) {
  for (uint32_t i = 0; i < firmware::kExtData; ++i) (*image)[at + i] = 0;
  le::Put8(image, at + firmware::kExtType, type);
  le::Put32(image, at + firmware::kExtSize, size);
  le::Put32(image, at + firmware::kExtNext, next);
}

std::vector<uint8_t> FirmwareImage(const AdapterModel& a) {
  constexpr uint32_t kSize = 0x18000;  // 96 KiB: uploads take two 64 KiB pieces
  constexpr uint32_t kDevices = 0x100, kDevicesSize = 0x100;
  constexpr uint32_t kNvdata = 0x200, kNvdataSize = 0x400;
  constexpr uint32_t kBoot = 0x600, kBootSize = 0x2000;
  constexpr uint32_t kInit = 0x2600, kInitSize = 0x1000;
  constexpr uint32_t kProdIdWords = 0x10;
  std::vector<uint8_t> image(kSize, 0);
  Fill(&image, firmware::kHeadBytes, kSize, a.firmwareVersion);

  le::Put32(&image, firmware::kSignature0, firmware::kSignature0Value);
  le::Put32(&image, firmware::kSignature1, firmware::kSignature1Value);
  le::Put32(&image, firmware::kSignature2, firmware::kSignature2Value);
  le::Put32(&image, firmware::kSignature3, firmware::kSignature3Value);
  le::Put32(&image, firmware::kFirmwareVersion, a.firmwareVersion);
  le::Put32(&image, firmware::kPackageVersion, a.packageVersion);
  le::Put16(&image, firmware::kIdentifier0, a.pciVendorId);
  le::Put16(&image, firmware::kIdentifier1, a.productId);
  le::Put32(&image, firmware::kFirstExtImage, kDevices);
  le::PutText(&image, firmware::kBoardName, 16, a.boardName);

  PutExtHeader(&image, kDevices, firmware::kExtSupportedDevices, kDevicesSize, kNvdata);
  le::Put8(&image, kDevices + firmware::kDeviceCount, 1);
  uint32_t entry = kDevices + firmware::kDeviceEntries;
  for (uint32_t i = 0; i < firmware::kDeviceEntryBytes; ++i) image[entry + i] = 0;
  le::Put16(&image, entry + firmware::kEntryDeviceId, a.pciDeviceId);
  le::Put8(&image, entry + firmware::kEntryLowestRevision, 0);
  le::Put8(&image, entry + firmware::kEntryHighestRevision, 0x0F);

  PutExtHeader(&image, kNvdata, firmware::kExtNvdata, kNvdataSize, kBoot);
  le::Put32(&image, kNvdata + firmware::kNvdataSignature, firmware::kNvdataSignatureValue);
  le::Put32(&image, kNvdata + firmware::kNvdataVersion, a.nvdataVersion);
  le::Put16(&image, kNvdata + firmware::kNvdataProdIdWords, kProdIdWords);
  uint32_t prodId = kNvdata + firmware::kNvdataSignature + 4 * kProdIdWords;
  for (uint32_t i = 0; i < 48; ++i) image[prodId + i] = 0;
  le::Put32(&image, prodId + firmware::kProdIdSignature, firmware::kProdIdSignatureValue);
  le::PutText(&image, prodId + firmware::kProdIdVendor, 8, "ULVANE  ");
  le::PutText(&image, prodId + firmware::kProdIdProduct, 16, "Corvexium       ");
  le::Put16(&image, prodId + firmware::kProdIdDeviceId, a.pciDeviceId);
  le::Put16(&image, prodId + firmware::kProdIdSubsystemId, a.subsystemDeviceId);

  PutExtHeader(&image, kBoot, firmware::kExtBootLoader, kBootSize, kInit);
  PutExtHeader(&image, kInit, firmware::kExtInitialization, kInitSize, 0);

  uint32_t sum = 0;
  for (uint32_t at = 0; at < kSize; at += 4) sum += le::Get32(image, at);
  le::Put32(&image, firmware::kChecksumAdjust, 0u - sum);
  return image;
}

// Sets the last byte so that the bytes from `from` to `to` sum to 0.
void Checksum(std::vector<uint8_t>* bytes, size_t from, size_t to) {
  (*bytes)[to - 1] = 0;
  uint8_t sum = 0;
  for (size_t i = from; i < to; ++i) sum = static_cast<uint8_t>(sum + (*bytes)[i]);
  (*bytes)[to - 1] = static_cast<uint8_t>(0u - sum);
}

void PutPcir(std::vector<uint8_t>* region, uint32_t image, uint32_t pcirOffset,
             const AdapterModel& a, uint32_t units, uint16_t codeRevision, uint8_t codeType,
             bool last) {
  uint32_t pcir = image + pcirOffset;
  le::Put16(region, image + rom::kSignature, rom::kSignatureValue);
  le::Put16(region, image + rom::kPcirPointer, static_cast<uint16_t>(pcirOffset));
  for (uint32_t i = 0; i < rom::kPcirRevision3Bytes + 2; ++i) (*region)[pcir + i] = 0;
  le::PutText(region, pcir + rom::kPcirSignature, 4, "PCIR");
  le::Put16(region, pcir + rom::kPcirVendorId, a.pciVendorId);
  le::Put16(region, pcir + rom::kPcirDeviceId, a.pciDeviceId);
  le::Put16(region, pcir + rom::kPcirLength, rom::kPcirRevision3Bytes);
  le::Put8(region, pcir + rom::kPcirRevision, 3);
  le::Put8(region, pcir + rom::kPcirClassCode + 0, 0x00);  // SAS controller 01 07 00
  le::Put8(region, pcir + rom::kPcirClassCode + 1, 0x07);
  le::Put8(region, pcir + rom::kPcirClassCode + 2, 0x01);
  le::Put16(region, pcir + rom::kPcirImageLength, static_cast<uint16_t>(units));
  le::Put16(region, pcir + rom::kPcirCodeRevision, codeRevision);
  le::Put8(region, pcir + rom::kPcirCodeType, codeType);
  le::Put8(region, pcir + rom::kPcirIndicator, last ? rom::kIndicatorLast : 0);
}

std::vector<uint8_t> OptionRomRegion(const AdapterModel& a) {
  constexpr uint32_t kLegacy = 0, kLegacyUnits = 0x40;
  constexpr uint32_t kEfi = kLegacy + kLegacyUnits * rom::kUnitBytes, kEfiUnits = 0x30;
  constexpr uint32_t kComponents = kEfi + kEfiUnits * rom::kUnitBytes;
  constexpr uint32_t kComponentBytes = 0x200;
  // The boot group, then the UEFI group (which keeps 0x112 before 0x110):
  // the order a region assembled from its own pieces has again.
  struct Component {
    uint8_t group;
    uint16_t id;
  };
  constexpr Component kComponentList[] = {
      {rom::kComponentGroupBoot, 0x102}, {rom::kComponentGroupBoot, 0x110}, {rom::kComponentGroupBoot, 0x112},
      {rom::kComponentGroupBoot, 0x113}, {rom::kComponentGroupUefi, 0x102}, {rom::kComponentGroupUefi, 0x112},
      {rom::kComponentGroupUefi, 0x110}, {rom::kComponentGroupUefi, 0x113},
  };
  constexpr uint32_t kComponentCount = sizeof kComponentList / sizeof kComponentList[0];
  constexpr uint32_t kSize = kComponents + kComponentCount * kComponentBytes;
  std::vector<uint8_t> region(kSize, 0);
  Fill(&region, 0, kSize, a.biosVersion ^ a.uefiRevision);

  // Legacy x86 BIOS: its version is the code revision and the two bytes
  // after the revision-3 data structure (the low half, here 0.0).
  for (uint32_t i = 0; i < 0x40; ++i) region[kLegacy + i] = 0;
  region[kLegacy + 2] = static_cast<uint8_t>(kLegacyUnits);
  PutPcir(&region, kLegacy, 0x40, a, kLegacyUnits, static_cast<uint16_t>(a.biosVersion >> 16),
          rom::kCodeTypeX86, false);
  region[kLegacy + 0x40 + rom::kPcirRevision3Bytes] = static_cast<uint8_t>(a.biosVersion >> 8);
  region[kLegacy + 0x40 + rom::kPcirRevision3Bytes + 1] = static_cast<uint8_t>(a.biosVersion);
  Checksum(&region, kLegacy, kEfi);

  // UEFI driver, the last image of the chain.
  for (uint32_t i = 0; i < 0x40; ++i) region[kEfi + i] = 0;
  le::Put16(&region, kEfi + 2, static_cast<uint16_t>(kEfiUnits));
  le::Put32(&region, kEfi + rom::kEfiSignature, rom::kEfiSignatureValue);
  le::Put16(&region, kEfi + 0x08, 0x000B);  // boot service driver
  le::Put16(&region, kEfi + 0x0A, 0x8664);  // x64
  PutPcir(&region, kEfi, 0x1C, a, kEfiUnits, a.uefiRevision, rom::kCodeTypeEfi, true);
  Checksum(&region, kEfi, kComponents);

  for (uint32_t i = 0; i < kComponentCount; ++i) {
    uint32_t at = kComponents + i * kComponentBytes;
    for (uint32_t j = 0; j < 0x64; ++j) region[at + j] = 0;
    le::Put16(&region, at + rom::kSignature, rom::kSignatureValue);
    le::Put16(&region, at + rom::kComponentId, kComponentList[i].id);
    le::Put8(&region, at + rom::kComponentGroup, kComponentList[i].group);
    le::Put32(&region, at + rom::kComponentSize, kComponentBytes);
    Checksum(&region, at, at + kComponentBytes);
  }
  return region;
}

}  // namespace

std::map<uint8_t, FlashImage> DefaultImages(const AdapterModel& adapter) {
  std::map<uint8_t, FlashImage> images;
  images[1] = FlashImage{FirmwareImage(adapter), ""};
  images[2] = FlashImage{OptionRomRegion(adapter), ""};
  return images;
}

}  // namespace emu
