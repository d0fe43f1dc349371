#include "app/images/rom_image_lookup.h"

#include "app/images/option_rom_layout.h"
#include "ctl/base/byte_order.h"

using option_rom::InRegion;

namespace {

// The image at `offset` as a piece that can be copied out whole: its length
// is not 0, it lies inside the data, and so does its own data structure
// (the assembly rewrites the indicator in the copy).
bool ReadWholeImage(const uint8_t* data, uint32_t length, uint32_t offset, RomImageHeader* header) {
  if (!ReadRomImageHeader(data, length, offset, header)) return false;
  if (header->length == 0 || !InRegion(length, offset, header->length)) return false;
  return header->pcir - offset + option_rom::kPcirFieldBytes <= header->length;
}

}  // namespace

bool ReadRomImageHeader(const uint8_t* data, uint32_t length, uint32_t offset, RomImageHeader* header) {
  if (data == nullptr || !InRegion(length, offset, option_rom::kHeaderBytes)) return false;
  if (GetLe16(data, offset + option_rom::kSignature) != option_rom::kSignatureValue) return false;
  uint64_t pcir = static_cast<uint64_t>(offset) + GetLe16(data, offset + option_rom::kPcirPointer);
  if (!InRegion(length, pcir, option_rom::kPcirFieldBytes)) return false;
  uint32_t at = static_cast<uint32_t>(pcir);
  header->pcir = at;
  header->length = static_cast<uint32_t>(GetLe16(data, at + option_rom::kPcirImageLength)) * option_rom::kImageUnit;
  header->deviceId = GetLe16(data, at + option_rom::kPcirDeviceId);
  header->codeRevision = GetLe16(data, at + option_rom::kPcirCodeRevision);
  header->revision = Get8(data, at + option_rom::kPcirRevision);
  header->codeType = Get8(data, at + option_rom::kPcirCodeType);
  header->indicator = Get8(data, at + option_rom::kPcirIndicator);
  return true;
}

uint32_t FindRomImage(const uint8_t* image, uint32_t length, uint32_t* offset, uint32_t* imageLength,
                      uint8_t codeType) {
  bool seenLegacy = false;
  uint32_t at = 0;
  for (;;) {
    RomImageHeader header;
    if (!ReadWholeImage(image, length, at, &header)) return 0;
    bool match = false;
    if (codeType == option_rom::kCodeTypeSecondLegacy) {
      if (header.codeType == option_rom::kCodeTypeLegacy) {
        match = seenLegacy;
        seenLegacy = true;
      } else {
        match = header.codeType == option_rom::kCodeTypeSecondLegacy;
      }
    } else {
      match = header.codeType == codeType;
    }
    if (match) {
      if (offset != nullptr) *offset = at;
      if (imageLength != nullptr) *imageLength = header.length;
      return 1;
    }
    at += header.length;
    if (header.indicator != 0) return 0;
  }
}

uint32_t FindRomComponent(const uint8_t* image, uint32_t length, uint32_t* offset, uint32_t* size,
                          uint8_t group, uint16_t componentId) {
  uint32_t at = 0;
  for (;;) {
    RomImageHeader header;
    if (!ReadWholeImage(image, length, at, &header)) return 0;
    at += header.length;
    if (header.indicator != 0) break;
  }
  for (;;) {
    if (!InRegion(length, at, option_rom::kComponentHeaderBytes)) return 0;
    if (GetLe16(image, at + option_rom::kSignature) != option_rom::kSignatureValue) return 0;
    uint32_t bytes = GetLe32(image, at + option_rom::kComponentSize);
    // A component that cannot hold its own header (a size of 0 among them)
    // would stall or scramble the walk.
    if (bytes < option_rom::kComponentHeaderBytes || !InRegion(length, at, bytes)) return 0;
    if ((Get8(image, at + option_rom::kComponentGroup) & option_rom::kComponentGroupMask) == group &&
        GetLe16(image, at + option_rom::kComponentId) == componentId) {
      if (offset != nullptr) *offset = at;
      if (size != nullptr) *size = bytes;
      return 1;
    }
    at += bytes;
  }
}

uint8_t RomImageChecksum(uint8_t* image, uint32_t length) {
  if (image == nullptr || length == 0) return 0;
  image[length - 1] = 0;
  uint8_t sum = 0;
  for (uint32_t i = 0; i < length; ++i) sum = static_cast<uint8_t>(sum + image[i]);
  return static_cast<uint8_t>(0u - sum);
}
