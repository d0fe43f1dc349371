// Seeds of fw_image_fuzz: the valid image and every named corruption, each
// behind an options byte (both skips off, answer yes).
#include <cstdio>
#include <string>
#include <vector>

#include "tests/app/images/fw_fixtures.h"

using fw_test::FwCorruption;

namespace {

void Write(const std::string& path, const std::vector<uint8_t>& image) {
  std::vector<uint8_t> bytes = {4};
  bytes.insert(bytes.end(), image.begin(), image.end());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  Write(dir + "/valid", fw_test::FwImage());
  for (int c = static_cast<int>(FwCorruption::kBadSignature); c <= static_cast<int>(FwCorruption::kIdentifiersDiffer);
       ++c) {
    Write(dir + "/corruption-" + std::to_string(c), fw_test::Corrupted(static_cast<FwCorruption>(c)));
  }
  return 0;
}
