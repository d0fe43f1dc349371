// Seeds of option_rom_fuzz: a current region (legacy BIOS, UEFI driver and
// the components of both groups) paired with a new legacy, UEFI or
// component-carrying file, in the target's split format.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/app/images/rom_fixtures.h"

using namespace rom_test;

namespace {

std::vector<uint8_t> Region() {
  RomFields legacy;
  RomFields uefi;
  uefi.codeType = 3;
  uefi.indicator = 0x80;
  uefi.seed = 2;
  return Join({RomImage(legacy), RomImage(uefi), Component(0x10, 0x102, 0x80, 3), Component(0x10, 0x110, 0x80, 4),
               Component(0x30, 0x102, 0x80, 5), Component(0x30, 0x112, 0x80, 6)});
}

void Write(const std::string& dir, const std::string& name, const std::vector<uint8_t>& current,
           const std::vector<uint8_t>& fresh) {
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> padded = current;
  padded.resize((padded.size() + 15) / 16 * 16, 0);
  size_t units = padded.size() / 16;
  bytes.push_back(static_cast<uint8_t>(units));
  bytes.push_back(static_cast<uint8_t>(units >> 8));
  bytes.insert(bytes.end(), padded.begin(), padded.end());
  bytes.insert(bytes.end(), fresh.begin(), fresh.end());
  std::FILE* file = std::fopen((dir + "/" + name).c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  RomFields legacy;
  legacy.indicator = 0x80;
  legacy.seed = 7;
  RomFields uefi;
  uefi.codeType = 3;
  uefi.indicator = 0x80;
  uefi.seed = 8;
  RomFields companion = legacy;
  companion.deviceId = 0x7F;
  Write(dir, "legacy", Region(), RomImage(legacy));
  Write(dir, "uefi", Region(), Join({RomImage(uefi), Component(0x30, 0x110, 0x80, 9)}));
  Write(dir, "companion", Region(), RomImage(companion));
  Write(dir, "empty-region", {}, RomImage(legacy));
  return 0;
}
