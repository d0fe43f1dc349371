// Seeds of package_fuzz: the default card's package (controller firmware,
// option-ROM file, module firmware) whole and with each named corruption,
// and a package with a BIOS-type entry.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/app/package/package_fixtures.h"

using namespace pkg_test;

namespace {

void Write(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen((dir + "/" + name).c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  const PkgCorruption corruptions[] = {
      PkgCorruption::kNone,          PkgCorruption::kBadSignature, PkgCorruption::kNewerHeader,
      PkgCorruption::kBadChecksum,   PkgCorruption::kPackageTypeZero, PkgCorruption::kCutInHeader,
      PkgCorruption::kCutInTable,    PkgCorruption::kEntryOutside, PkgCorruption::kEntryInTable,
      PkgCorruption::kOffsetWraps,   PkgCorruption::kOneByteLonger, PkgCorruption::kUnknownType,
  };
  int n = 0;
  for (PkgCorruption corruption : corruptions) {
    Write(dir, "package-" + std::to_string(n++), BuildPackage(DefaultCardPackage(), corruption));
  }
  PkgFields typeFour = DefaultCardPackage();
  typeFour.entries.push_back({4, typeFour.entries[1].data});
  Write(dir, "package-type-4", BuildPackage(typeFour));
  return 0;
}
