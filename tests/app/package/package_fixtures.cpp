#include "tests/app/package/package_fixtures.h"

#include "tests/app/images/fw_fixtures.h"
#include "tests/app/images/rom_fixtures.h"
#include "tests/app/modules/ssd_fw_fixtures.h"

namespace pkg_test {
namespace {

void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void SetChecksum(std::vector<uint8_t>* b) {
  Put32(b, 24, 0);
  uint32_t sum = 0;
  for (uint8_t byte : *b) sum += byte;
  Put32(b, 24, sum);
}

}  // namespace

std::vector<uint8_t> BuildPackage(const PkgFields& fields, PkgCorruption corruption) {
  uint32_t count = static_cast<uint32_t>(fields.entries.size());
  std::vector<uint8_t> b(56 + 32 * count, 0);
  Put32(&b, 0, 0xBEEFDEAD);
  Put32(&b, 4, 0xDEADBEEF);
  b[8] = fields.packageType;
  Put32(&b, 12, 0x0E020500);
  Put32(&b, 20, fields.headerVersion);
  b[52] = static_cast<uint8_t>(count);
  for (uint32_t i = 0; i < count; ++i) {
    const PkgEntry& e = fields.entries[i];
    size_t at = 56 + 32 * i;
    b[at] = e.type;
    Put32(&b, at + 4, static_cast<uint32_t>(b.size()));
    Put32(&b, at + 8, static_cast<uint32_t>(e.data.size()));
    Put32(&b, at + 12, i + 1);
    Put32(&b, at + 20, e.configIdLow);
    Put32(&b, at + 24, e.configIdHigh);
    b.insert(b.end(), e.data.begin(), e.data.end());
  }
  size_t last = 56 + 32 * (count == 0 ? 0 : count - 1);
  switch (corruption) {
    case PkgCorruption::kNone: break;
    case PkgCorruption::kBadSignature: b[4] ^= 1; break;
    case PkgCorruption::kNewerHeader: Put32(&b, 20, 0x01000001); break;
    case PkgCorruption::kBadChecksum: break;
    case PkgCorruption::kPackageTypeZero: b[8] = 0; break;
    case PkgCorruption::kPackageType13: b[8] = 13; break;
    case PkgCorruption::kCutInHeader: break;
    case PkgCorruption::kCutInTable: break;
    case PkgCorruption::kEntryOutside: Put32(&b, last + 8, static_cast<uint32_t>(b.size()) + 1); break;
    case PkgCorruption::kEntryInTable: Put32(&b, 56 + 4, 60); break;
    case PkgCorruption::kOffsetWraps: Put32(&b, last + 4, 0xFFFFFF00); Put32(&b, last + 8, 0x200); break;
    case PkgCorruption::kOneByteLonger: b.push_back(0); break;
    case PkgCorruption::kUnknownType: b[last] = 9; break;
  }
  SetChecksum(&b);
  if (corruption == PkgCorruption::kBadChecksum) b.back() ^= 0x01;
  if (corruption == PkgCorruption::kCutInHeader) b.resize(40);
  if (corruption == PkgCorruption::kCutInTable) {
    b.resize(56 + 32 * count - 4);
    SetChecksum(&b);
  }
  return b;
}

PkgFields DefaultCardPackage() {
  PkgFields fields;
  app_test::SsdFwImage module;
  module.size = 4096;
  fields.entries = {
      {1, fw_test::FwImage()},
      {2, rom_test::OptionRomFile()},
      // '0' "2519": the characters of the code word, the type digit's word.
      {5, app_test::BuildSsdFwImage(module), 0x39313532, 0x30},
  };
  return fields;
}

}  // namespace pkg_test
