// Option-ROM images and BIOS regions built byte by byte for the tests, with
// the offsets of the PCI expansion ROM format written out as numbers so
// that they hold the application's named layout against the format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rom_test {

struct RomFields {
  uint8_t codeType = 0;
  uint16_t units = 2;             // image length in 512-byte units
  uint16_t deviceId = 0x7E;
  uint16_t codeRevision = 0;
  uint8_t pcirRevision = 3;
  uint8_t indicator = 0;
  uint16_t pcirOffset = 0x40;
  uint8_t versionHigh = 0;        // the two bytes after the data structure
  uint8_t versionLow = 0;
  uint8_t seed = 1;               // filler
};

// One image whose bytes sum to 0 (8-bit).
std::vector<uint8_t> RomImage(const RomFields& fields);
// A trailing component of a group and ID, `size` bytes, summing to 0.
std::vector<uint8_t> Component(uint8_t group, uint16_t id, uint32_t size, uint8_t seed);

std::vector<uint8_t> Join(const std::vector<std::vector<uint8_t>>& pieces);

uint8_t Sum(const uint8_t* bytes, size_t length);
uint8_t Sum(const std::vector<uint8_t>& bytes);

// The image with its indicator (data structure +0x15) set to the value and
// its last byte fixed so that it sums to 0 again.
std::vector<uint8_t> WithIndicator(std::vector<uint8_t> image, uint8_t indicator);
// The image with its last byte fixed so that it sums to 0.
std::vector<uint8_t> Resummed(std::vector<uint8_t> image);

// An option-ROM image file as a vendor ships it: a legacy BIOS and/or a
// UEFI driver (the last one carries the last-image indicator), then, with
// components, the group 0x10 and 0x30 components 0x102 and 0x110. The
// images carry device ID `deviceId`; the file sums to 0.
struct RomFileFields {
  bool legacy = true;
  bool uefi = true;
  bool components = true;
  uint16_t deviceId = 0x7E;
};
std::vector<uint8_t> OptionRomFile(const RomFileFields& fields = {});

// Named ways an option-ROM file can be broken; all but the checksum and
// truncation corruptions keep the file's sum at 0.
enum class RomCorruption {
  kBadSignature,
  kBadChecksum,           // the bytes sum to 1
  kPcirOutsideFile,       // the data structure pointer leads past the end
  kBadPcirSignature,
  kNoKnownCodeType,       // neither legacy nor UEFI (code type 1 only)
  kDeviceNotAccepted,     // device ID 0x66
  kTruncated,             // the first image runs past the file's end
};
std::vector<uint8_t> CorruptedRom(RomCorruption corruption);

uint16_t Le16(const std::vector<uint8_t>& bytes, size_t offset);
void PutLe16(std::vector<uint8_t>* bytes, size_t offset, uint16_t value);
void PutLe32(std::vector<uint8_t>* bytes, size_t offset, uint32_t value);

}  // namespace rom_test
