#include "fw_fixtures.h"

namespace fw_test {

void PutLe16(std::vector<uint8_t>* bytes, size_t offset, uint16_t value) {
  bytes->at(offset) = static_cast<uint8_t>(value);
  bytes->at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

void PutLe32(std::vector<uint8_t>* bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes->at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    if (offset + i < bytes.size()) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  }
  return value;
}

void FixFwChecksum(std::vector<uint8_t>* image) {
  PutLe32(image, 0x18, 0);
  uint32_t sum = 0;
  for (size_t at = 0; at < image->size(); at += 4) sum += Le32(*image, at);
  PutLe32(image, 0x18, 0u - sum);
}

namespace {

void ExtHeader(std::vector<uint8_t>* image, uint32_t at, uint8_t type, uint32_t size, uint32_t next) {
  for (uint32_t i = 0; i < 0x40; ++i) image->at(at + i) = 0;
  image->at(at) = type;
  PutLe32(image, at + 0x08, size);
  PutLe32(image, at + 0x0C, next);
}

void Text(std::vector<uint8_t>* image, size_t at, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i) image->at(at + i) = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
}

}  // namespace

std::vector<uint8_t> FwImage(const FwFields& f) {
  std::vector<uint8_t> image(f.size);
  uint32_t state = f.seed * 2654435761u + 5;
  for (uint8_t& byte : image) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(state >> 24);
  }
  for (uint32_t i = 0; i < 0x100; ++i) image[i] = 0;
  PutLe32(&image, 0x00, 0xEA000000);
  PutLe32(&image, 0x04, 0x5AFAA55A);
  PutLe32(&image, 0x08, 0xA55AFAA5);
  PutLe32(&image, 0x0C, 0x5AA55AFA);
  PutLe32(&image, 0x14, f.firmwareVersion);
  PutLe32(&image, 0x1C, f.packageVersion);
  PutLe16(&image, 0x20, f.identifier0);
  PutLe16(&image, 0x22, f.identifier1);
  PutLe32(&image, 0x30, kDevicesAt);
  Text(&image, 0xB0, f.boardName, 16);

  ExtHeader(&image, kDevicesAt, 7, 0x100, kNvdataAt);
  image[kDevicesAt + 0x42] = static_cast<uint8_t>(f.devices.size());
  for (size_t i = 0; i < f.devices.size(); ++i) {
    size_t entry = kDevicesAt + 0x48 + 16 * i;
    for (size_t j = 0; j < 16; ++j) image[entry + j] = 0;
    PutLe16(&image, entry, f.devices[i].deviceId);
    image[entry + 8] = f.devices[i].lowestRevision;
    image[entry + 9] = f.devices[i].highestRevision;
  }

  ExtHeader(&image, kNvdataAt, 3, 0x400, kBootAt);
  PutLe32(&image, kNvdataAt + 0x40, 0x4E69636B);
  PutLe32(&image, kNvdataAt + 0x48, f.nvdataVersion);
  PutLe16(&image, kNvdataAt + 0x5C, 0x10);
  for (uint32_t i = 0; i < 48; ++i) image[kProdIdAt + i] = 0;
  PutLe32(&image, kProdIdAt, 0x4672617A);
  Text(&image, kProdIdAt + 4, f.vendor, 8);
  Text(&image, kProdIdAt + 12, f.product, 16);
  PutLe16(&image, kProdIdAt + 42, f.nvdataDeviceId);
  PutLe16(&image, kProdIdAt + 46, f.nvdataSubsystemId);

  ExtHeader(&image, kBootAt, 4, 0x800, kInitAt);
  ExtHeader(&image, kInitAt, 5, 0x800, 0);
  FixFwChecksum(&image);
  return image;
}

std::vector<uint8_t> Corrupted(FwCorruption corruption, const FwFields& fields) {
  std::vector<uint8_t> image = FwImage(fields);
  switch (corruption) {
    case FwCorruption::kBadSignature:
      PutLe32(&image, 0x08, 0xA55AFAA4);
      return image;  // the checksum is not reached
    case FwCorruption::kBadChecksum:
      PutLe32(&image, 0x18, Le32(image, 0x18) + 1);
      return image;
    case FwCorruption::kShortHeader:
      image.resize(0xAF);
      return image;
    case FwCorruption::kTruncatedChain:
      image.resize(kNvdataAt + 0x20);
      break;
    case FwCorruption::kNoExtendedImages:
      PutLe32(&image, 0x30, 0);
      break;
    case FwCorruption::kChainOutsideFile:
      PutLe32(&image, kNvdataAt + 0x0C, 0x10000000);
      break;
    case FwCorruption::kChainPointsBack:
      PutLe32(&image, kInitAt + 0x0C, kDevicesAt);
      break;
    case FwCorruption::kChainToItself:
      PutLe32(&image, kBootAt + 0x0C, kBootAt);
      break;
    case FwCorruption::kNoSupportedDevices:
      image[kDevicesAt] = 9;
      break;
    case FwCorruption::kDeviceCountPastFile:
      // The supported-devices image moves to the file's end, its count
      // running past it: the first device entries are in, the rest not.
      image[kDevicesAt] = 9;
      PutLe32(&image, kInitAt + 0x0C, static_cast<uint32_t>(image.size()) - 0x60);
      ExtHeader(&image, static_cast<uint32_t>(image.size()) - 0x60, 7, 0x60, 0);
      image[image.size() - 0x60 + 0x42] = 0xFF;
      break;
    case FwCorruption::kWrongDeviceId:
      PutLe16(&image, kDevicesAt + 0x48, 0x72);
      break;
    case FwCorruption::kRevisionOutOfRange:
      image[kDevicesAt + 0x48 + 8] = 3;
      image[kDevicesAt + 0x48 + 9] = 5;
      break;
    case FwCorruption::kNoNvdata:
      image[kNvdataAt] = 9;
      break;
    case FwCorruption::kBadNvdataSignature:
      PutLe32(&image, kNvdataAt + 0x40, 0x4E69636C);
      break;
    case FwCorruption::kBadProdIdSignature:
      PutLe32(&image, kProdIdAt, 0x4672617B);
      break;
    case FwCorruption::kProdIdOutsideFile:
      PutLe16(&image, kNvdataAt + 0x5C, 0xFFFF);
      break;
    case FwCorruption::kNvdataDeviceMismatch:
      PutLe16(&image, kProdIdAt + 42, 0x72);
      break;
    case FwCorruption::kNvdataSubsystemMismatch:
      PutLe16(&image, kProdIdAt + 46, 0x0501);
      break;
    case FwCorruption::kNvdataDowngrade:
      PutLe32(&image, kNvdataAt + 0x48, 0x0E0FFFFF);
      break;
    case FwCorruption::kVendorDiffers:
      image[kProdIdAt + 4 + 7] = 'X';
      break;
    case FwCorruption::kNoInitialization:
      image[kInitAt] = 9;
      break;
    case FwCorruption::kNoBootLoader:
      image[kBootAt] = 9;
      break;
    case FwCorruption::kIdentifiersDiffer:
      PutLe16(&image, 0x20, 0x1001);
      PutLe16(&image, 0x22, 0x2215);
      break;
  }
  FixFwChecksum(&image);
  return image;
}

}  // namespace fw_test
