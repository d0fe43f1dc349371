// Reading versions out of the flash images: the firmware head when its
// signature words are right, and the option-ROM chain walked image by image
// (0xAA55, the PCI data structure, its length in 512-byte units, the last
// image indicator), never past the region's end.
#include "emu/flash/flash_versions.h"

#include "emu/flash/image_layouts.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

using namespace images;

const std::vector<uint8_t>* Image(const AdapterModel& a, uint8_t type) {
  auto it = a.images.find(type);
  return it == a.images.end() ? nullptr : &it->second.bytes;
}

bool FirmwareSigned(const std::vector<uint8_t>& fw) {
  return fw.size() >= firmware::kHeadBytes &&
         le::Get32(fw, firmware::kSignature0) == firmware::kSignature0Value &&
         le::Get32(fw, firmware::kSignature1) == firmware::kSignature1Value &&
         le::Get32(fw, firmware::kSignature2) == firmware::kSignature2Value &&
         le::Get32(fw, firmware::kSignature3) == firmware::kSignature3Value;
}

// The bytes right after the PCI data structure: at 24 up to revision 2, at 28 from 3.
uint32_t LegacyVersion(const std::vector<uint8_t>& rom, size_t pcir) {
  size_t after = pcir + (le::Get8(rom, pcir + rom::kPcirRevision) > 2 ? rom::kPcirRevision3Bytes
                                                                     : rom::kPcirRevision2Bytes);
  return static_cast<uint32_t>(le::Get16(rom, pcir + rom::kPcirCodeRevision)) << 16 |
         static_cast<uint32_t>(le::Get8(rom, after)) << 8 | le::Get8(rom, after + 1);
}

uint32_t UefiVersion(uint16_t r) {
  return (static_cast<uint32_t>(r >> 13) << 24) | (static_cast<uint32_t>(r & 0x1F00) << 8) | r;
}

}  // namespace

FlashVersions ReadFlashVersions(const AdapterModel& a) {
  FlashVersions v;
  if (const std::vector<uint8_t>* fw = Image(a, 1); fw != nullptr && FirmwareSigned(*fw)) {
    v.firmware = le::Get32(*fw, firmware::kFirmwareVersion);
    v.package = le::Get32(*fw, firmware::kPackageVersion);
  }
  const std::vector<uint8_t>* region = Image(a, 2);
  if (region == nullptr) return v;
  const std::vector<uint8_t>& rom = *region;
  for (size_t at = 0; at + rom::kPcirPointer + 2 <= rom.size();) {
    if (le::Get16(rom, at + rom::kSignature) != rom::kSignatureValue) break;
    size_t pcir = at + le::Get16(rom, at + rom::kPcirPointer);
    if (pcir + rom::kPcirIndicator >= rom.size() || le::Get32(rom, pcir) != rom::kPcirSignatureValue) break;
    uint8_t code = le::Get8(rom, pcir + rom::kPcirCodeType);
    if (code == rom::kCodeTypeX86 && v.legacyBios == kNoVersion) v.legacyBios = LegacyVersion(rom, pcir);
    if (code == rom::kCodeTypeEfi && v.uefi == kNoVersion) {
      v.uefi = UefiVersion(le::Get16(rom, pcir + rom::kPcirCodeRevision));
    }
    size_t length = static_cast<size_t>(le::Get16(rom, pcir + rom::kPcirImageLength)) * rom::kUnitBytes;
    if (length == 0 || (le::Get8(rom, pcir + rom::kPcirIndicator) & rom::kIndicatorLast) != 0) break;
    at += length;
  }
  return v;
}

}  // namespace emu
