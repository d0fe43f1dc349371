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

}  // namespace rom_test
