#include "app/images/rom_image_version.h"

#include "app/shell/memory_strings.h"
#include "app/images/option_rom_layout.h"
#include "app/images/rom_image_lookup.h"

using option_rom::InRegion;

namespace {

uint32_t LegacyVersion(const uint8_t* region, uint32_t length, const RomImageHeader& image) {
  uint32_t after = image.revision <= option_rom::kPcirShortRevisionMax ? option_rom::kLegacyVersionAfterShort
                                                                      : option_rom::kLegacyVersionAfterLong;
  uint64_t at = static_cast<uint64_t>(image.pcir) + after;
  if (!InRegion(length, at, 2)) return kNoRomVersion;
  return (static_cast<uint32_t>(image.codeRevision) << 16) | (static_cast<uint32_t>(region[at]) << 8) |
         region[at + 1];
}

uint32_t UefiVersion(uint16_t r) {
  return (static_cast<uint32_t>(r >> 13) << 24) | (static_cast<uint32_t>(r & 0x1F00) << 8) | r;
}

// One digit of the what string; a character that is not a hexadecimal
// digit counts as 0xF, so that it cannot spill into the next field.
uint32_t Digit(uint8_t character) {
  uint8_t value = HexCharValue(static_cast<char>(character));
  return value > 0xF ? 0xF : value;
}

uint32_t TwoDigits(const uint8_t* p) { return (Digit(p[0]) << 4) | Digit(p[1]); }

// The packed version of the what string in the image at `start`; false when
// the image has no marker or its digits lie outside the region.
bool OpenFirmwareVersion(const uint8_t* region, uint32_t length, uint32_t start, const RomImageHeader& image,
                         uint32_t* version) {
  if (image.length < sizeof option_rom::kWhatMarker) return false;
  uint32_t last = image.length - sizeof option_rom::kWhatMarker;  // the last marker offset in the image
  for (uint32_t i = 0; i <= last; ++i) {
    uint64_t at = static_cast<uint64_t>(start) + i;
    if (!InRegion(length, at, sizeof option_rom::kWhatMarker)) return false;
    if (!MemEqual(region + at, option_rom::kWhatMarker, sizeof option_rom::kWhatMarker)) continue;
    if (!InRegion(length, at, option_rom::kWhatFourth + 1)) return false;
    const uint8_t* p = region + at;
    uint32_t fourth = 0;
    if (p[option_rom::kWhatFourth] != static_cast<uint8_t>(option_rom::kWhatNoFourth)) {
      if (!InRegion(length, at, option_rom::kWhatFourth + 2)) return false;
      fourth = TwoDigits(p + option_rom::kWhatFourth);
    }
    *version = (Digit(p[option_rom::kWhatMajor]) << 24) | (TwoDigits(p + option_rom::kWhatMinor) << 16) |
               (TwoDigits(p + option_rom::kWhatThird) << 8) | fourth;
    return true;
  }
  return false;
}

}  // namespace

uint32_t GetRomImageVersion(uint32_t adapter, const uint8_t* image, uint32_t length, uint8_t codeType) {
  if (image == nullptr) return kNoRomVersion;
  uint32_t result = kNoRomVersion;
  uint8_t wanted = codeType;
  uint32_t at = 0;
  for (;;) {
    RomImageHeader header;
    if (!ReadRomImageHeader(image, length, at, &header)) return result;
    if (wanted == option_rom::kCodeTypeFirstImage) wanted = header.codeType;
    if (header.codeType == option_rom::kCodeTypeLegacy &&
        (wanted == option_rom::kCodeTypeLegacy || wanted == option_rom::kCodeTypeSecondLegacy)) {
      return LegacyVersion(image, length, header);
    }
    if (header.codeType == option_rom::kCodeTypeUefi && wanted == option_rom::kCodeTypeUefi) {
      return UefiVersion(header.codeRevision);
    }
    if (header.codeType == option_rom::kCodeTypeOpenFirmware && wanted == option_rom::kCodeTypeOpenFirmware) {
      // A later Open Firmware image replaces the version of an earlier one.
      OpenFirmwareVersion(image, length, at, header, &result);
    }
    if ((header.indicator & option_rom::kIndicatorLastImage) != 0) return result;
    // Without a length the next image would be this one again.
    if (header.length == 0 || !InRegion(length, at, header.length)) return result;
    at += header.length;
  }
}
