// Flash package files built byte by byte for the tests and the fuzzing
// seeds: a header, the entry table, the images concatenated in entry order,
// the checksum over it all; with named corruptions.
#pragma once

#include <cstdint>
#include <vector>

namespace pkg_test {

struct PkgEntry {
  uint8_t type;
  std::vector<uint8_t> data;
  uint32_t configIdLow = 0;   // module firmware: the configuration ID ...
  uint32_t configIdHigh = 0;  // ... and the model type it is made for
};

struct PkgFields {
  uint8_t packageType = 7;  // the default card's board type
  uint32_t headerVersion = 0x01000000;
  std::vector<PkgEntry> entries;
};

enum class PkgCorruption {
  kNone,
  kBadSignature,       // the second signature word
  kNewerHeader,        // header version 0x01000001
  kBadChecksum,        // one byte of image data changed
  kPackageTypeZero,
  kPackageType13,
  kCutInHeader,        // 40 bytes
  kCutInTable,         // the last entry record cut
  kEntryOutside,       // the last entry's size one past the file's end
  kEntryInTable,       // the first entry's offset inside the entry table
  kOffsetWraps,        // offset + size wraps past 2^32
  kOneByteLonger,      // a byte after the last image (checksum kept right)
  kUnknownType,        // the last entry of type 9
};

std::vector<uint8_t> BuildPackage(const PkgFields& fields, PkgCorruption corruption = PkgCorruption::kNone);

// The default card's package: its controller firmware, an option-ROM file
// and a module firmware image for its modules ('0' "2519").
PkgFields DefaultCardPackage();

}  // namespace pkg_test
