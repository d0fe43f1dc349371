#include "rom_fixtures.h"

namespace rom_test {

uint16_t Le16(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

void PutLe16(std::vector<uint8_t>* bytes, size_t offset, uint16_t value) {
  bytes->at(offset) = static_cast<uint8_t>(value);
  bytes->at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

void PutLe32(std::vector<uint8_t>* bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes->at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

uint8_t Sum(const uint8_t* bytes, size_t length) {
  uint8_t sum = 0;
  for (size_t i = 0; i < length; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  return sum;
}

uint8_t Sum(const std::vector<uint8_t>& bytes) { return Sum(bytes.data(), bytes.size()); }

std::vector<uint8_t> Resummed(std::vector<uint8_t> image) {
  image.back() = 0;
  image.back() = static_cast<uint8_t>(0u - Sum(image));
  return image;
}

std::vector<uint8_t> WithIndicator(std::vector<uint8_t> image, uint8_t indicator) {
  image.at(Le16(image, 0x18) + 0x15) = indicator;
  return Resummed(std::move(image));
}

std::vector<uint8_t> RomImage(const RomFields& fields) {
  std::vector<uint8_t> image(static_cast<size_t>(fields.units) * 512);
  uint32_t state = fields.seed * 2246822519u + 7;
  for (uint8_t& byte : image) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(state >> 24);
  }
  image[0] = 0x55;
  image[1] = 0xAA;
  PutLe16(&image, 0x18, fields.pcirOffset);
  size_t p = fields.pcirOffset;
  for (size_t i = 0; i < 0x20 && p + i < image.size(); ++i) image[p + i] = 0;
  image[p + 0] = 'P';
  image[p + 1] = 'C';
  image[p + 2] = 'I';
  image[p + 3] = 'R';
  PutLe16(&image, p + 4, 0x1000);
  PutLe16(&image, p + 6, fields.deviceId);
  image[p + 0x0C] = fields.pcirRevision;
  PutLe16(&image, p + 0x10, fields.units);
  PutLe16(&image, p + 0x12, fields.codeRevision);
  image[p + 0x14] = fields.codeType;
  image[p + 0x15] = fields.indicator;
  size_t after = p + (fields.pcirRevision <= 2 ? 24 : 28);
  image[after] = fields.versionHigh;
  image[after + 1] = fields.versionLow;
  return Resummed(std::move(image));
}

std::vector<uint8_t> Component(uint8_t group, uint16_t id, uint32_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed * 31 + i * 7);
  for (size_t i = 0; i < 0x64; ++i) bytes[i] = 0;
  bytes[0] = 0x55;
  bytes[1] = 0xAA;
  PutLe16(&bytes, 0x38, id);
  bytes[0x3B] = group;
  PutLe32(&bytes, 0x60, size);
  return Resummed(std::move(bytes));
}

std::vector<uint8_t> Join(const std::vector<std::vector<uint8_t>>& pieces) {
  std::vector<uint8_t> all;
  for (const auto& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
  return all;
}

std::vector<uint8_t> OptionRomFile(const RomFileFields& f) {
  std::vector<std::vector<uint8_t>> pieces;
  if (f.legacy) {
    RomFields legacy;
    legacy.deviceId = f.deviceId;
    legacy.codeRevision = 0x0813;
    legacy.indicator = f.uefi ? 0 : 0x80;
    legacy.seed = 21;
    pieces.push_back(RomImage(legacy));
  }
  if (f.uefi) {
    RomFields uefi;
    uefi.codeType = 3;
    uefi.deviceId = f.deviceId;
    uefi.codeRevision = 0x2106;
    uefi.indicator = 0x80;
    uefi.seed = 22;
    pieces.push_back(RomImage(uefi));
  }
  if (f.components) {
    pieces.push_back(Component(0x10, 0x102, 0x100, 23));
    pieces.push_back(Component(0x10, 0x110, 0x100, 24));
    pieces.push_back(Component(0x30, 0x102, 0x100, 25));
    pieces.push_back(Component(0x30, 0x110, 0x100, 26));
  }
  return Join(pieces);
}

std::vector<uint8_t> CorruptedRom(RomCorruption corruption) {
  std::vector<uint8_t> file = OptionRomFile();
  // Keeps the file's sum at 0 through its last byte.
  auto resum = [&file] {
    file.back() = 0;
    file.back() = static_cast<uint8_t>(0u - Sum(file));
  };
  switch (corruption) {
    case RomCorruption::kBadSignature:
      file[1] = 0xAB;
      break;
    case RomCorruption::kBadChecksum:
      file[0x100] = static_cast<uint8_t>(file[0x100] + 1);
      return file;
    case RomCorruption::kPcirOutsideFile:
      PutLe16(&file, 0x18, 0xFFFF);
      break;
    case RomCorruption::kBadPcirSignature:
      file[0x40 + 3] = 'S';
      break;
    case RomCorruption::kNoKnownCodeType: {
      RomFields other;
      other.codeType = 1;
      other.indicator = 0x80;
      return RomImage(other);
    }
    case RomCorruption::kDeviceNotAccepted:
      PutLe16(&file, 0x40 + 6, 0x66);
      break;
    case RomCorruption::kTruncated: {
      RomFields legacy;
      legacy.indicator = 0x80;
      std::vector<uint8_t> image = RomImage(legacy);
      image.resize(image.size() - 0x100);
      return Resummed(std::move(image));
    }
  }
  resum();
  return file;
}

}  // namespace rom_test
