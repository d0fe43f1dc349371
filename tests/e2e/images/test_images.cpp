// tessvarc-test-images DIR NAME...: writes the named image files into DIR
// for the end-to-end cases (the "image:" key of a case), from the image
// builders of the unit tests. Each name is a file name below.
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/app/images/fw_fixtures.h"
#include "tests/app/images/rom_fixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;
using fw_test::FwCorruption;

// Package 14.02.06.00 (the card's OEM identifier 2).
Bytes FwVersion(uint32_t version, uint32_t nvdata) {
  fw_test::FwFields fields;
  fields.firmwareVersion = version;
  fields.packageVersion = 0x0E020600;
  fields.nvdataVersion = nvdata;
  return fw_test::FwImage(fields);
}

Bytes Rom(bool legacy, bool uefi, bool components, uint16_t deviceId) {
  rom_test::RomFileFields fields;
  fields.legacy = legacy;
  fields.uefi = uefi;
  fields.components = components;
  fields.deviceId = deviceId;
  return rom_test::OptionRomFile(fields);
}

const std::map<std::string, std::function<Bytes()>>& Images() {
  static const std::map<std::string, std::function<Bytes()>> images = {
      // Firmware 14.01.00.00 with the card's own NVDATA version.
      {"fw-good.bin", [] { return FwVersion(0x0E010000, 0x0E100003); }},
      // An NVDATA one major step older than the card's.
      {"fw-older-nvdata.bin", [] { return FwVersion(0x0E010000, 0x0E0F0000); }},
      {"fw-bad-checksum.bin", [] { return fw_test::Corrupted(FwCorruption::kBadChecksum); }},
      {"fw-wrong-device.bin", [] { return fw_test::Corrupted(FwCorruption::kWrongDeviceId); }},
      {"fw-chain-back.bin", [] { return fw_test::Corrupted(FwCorruption::kChainPointsBack); }},
      {"fw-other-vendor.bin", [] { return fw_test::Corrupted(FwCorruption::kVendorDiffers); }},
      {"fw-short.bin", [] { return fw_test::Corrupted(FwCorruption::kShortHeader); }},
      // A legacy BIOS for the card's device, made for device 0x64.
      {"rom-legacy.bin", [] { return Rom(true, false, false, 0x64); }},
      // A UEFI driver with its group 0x30 components (and group 0x10 ones,
      // which a UEFI flash leaves as the card has them).
      {"rom-uefi.bin", [] { return Rom(false, true, true, 0x7E); }},
      {"rom-bad-checksum.bin", [] { return rom_test::CorruptedRom(rom_test::RomCorruption::kBadChecksum); }},
      {"rom-other-device.bin", [] { return rom_test::CorruptedRom(rom_test::RomCorruption::kDeviceNotAccepted); }},
  };
  return images;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tessvarc-test-images DIR NAME...\n");
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    auto image = Images().find(argv[i]);
    if (image == Images().end()) {
      std::fprintf(stderr, "tessvarc-test-images: no image named %s\n", argv[i]);
      return 2;
    }
    Bytes bytes = image->second();
    std::string path = std::string(argv[1]) + "/" + argv[i];
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return 1;
    std::fclose(file);
  }
  return 0;
}
