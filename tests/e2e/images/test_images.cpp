// tessvarc-test-images DIR NAME...: writes the named image files into DIR
// for the end-to-end cases (the "image:" key of a case), from the image
// builders of the unit tests. Each name is a file name below. A package
// named among the built ones is made by the package builder itself, from
// the images and a manifest it writes into DIR first.
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/package/create_pkg_command.h"
#include "app/shell/command_context.h"
#include "tests/app/images/fw_fixtures.h"
#include "tests/app/images/rom_fixtures.h"
#include "tests/app/modules/ssd_fw_fixtures.h"
#include "tests/app/package/package_fixtures.h"

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

// The pieces of the packages: the firmware of fw-good.bin, the BIOS images
// of rom-legacy.bin and rom-uefi.bin, and a module firmware of revision
// ZK0301AB with the customer IDs 103/7, made for the default card's modules
// ('0' "2519").
pkg_test::PkgEntry PkgFirmware(const fw_test::FwFields& fields = {}) {
  fw_test::FwFields f = fields;
  f.firmwareVersion = 0x0E010000;
  f.packageVersion = 0x0E020600;
  return {1, fw_test::FwImage(f)};
}
pkg_test::PkgEntry PkgModule(uint32_t configId = 0x39313532) {
  app_test::SsdFwImage module;
  module.size = 4096;
  return {5, app_test::BuildSsdFwImage(module), configId, 0x30};
}
pkg_test::PkgEntry PkgRom(uint8_t type, bool legacy, bool uefi, uint16_t deviceId) {
  return {type, Rom(legacy, uefi, !legacy, deviceId)};
}

Bytes Package(std::vector<pkg_test::PkgEntry> entries,
              pkg_test::PkgCorruption corruption = pkg_test::PkgCorruption::kNone) {
  pkg_test::PkgFields fields;
  fields.entries = std::move(entries);
  return pkg_test::BuildPackage(fields, corruption);
}

// BIOS, module firmware, controller firmware: the order in which a failing
// entry leaves the firmware unflashed.
Bytes PkgFirmwareLast(pkg_test::PkgCorruption corruption = pkg_test::PkgCorruption::kNone) {
  return Package({PkgRom(2, true, false, 0x64), PkgModule(), PkgFirmware()}, corruption);
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
      // Every entry kind: the firmware first (kept aside, flashed last), a
      // legacy BIOS, the module firmware, a UEFI driver, a BIOS-type image
      // and an ignored entry.
      {"pkg-every-kind.bin",
       [] {
         return Package({PkgFirmware(), PkgRom(2, true, false, 0x64), PkgModule(), PkgRom(3, false, true, 0x7E),
                         PkgRom(4, true, false, 0x7E), {6, Bytes(64, 0xA5)}});
       }},
      {"pkg-fw-last.bin", [] { return PkgFirmwareLast(); }},
      {"pkg-fw-first.bin", [] { return Package({PkgFirmware(), PkgRom(2, true, false, 0x64), PkgModule()}); }},
      {"pkg-bad-checksum.bin", [] { return PkgFirmwareLast(pkg_test::PkgCorruption::kBadChecksum); }},
      {"pkg-other-board.bin",
       [] {
         fw_test::FwFields other;
         other.boardName = "Corvexium2";
         return Package({PkgRom(2, true, false, 0x64), PkgModule(), PkgFirmware(other)});
       }},
      // Made for modules '0' "2516".
      {"pkg-other-module.bin", [] { return Package({PkgRom(2, true, false, 0x64), PkgModule(0x36313532), PkgFirmware()}); }},
  };
  return images;
}

std::string Hex(size_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%zX", value);
  return text;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// The manifest <stem>.txt of the entries, each image written beside it as
// <stem>-<n>.bin; the versions and IDs as Package() lays them out.
bool WriteManifest(const std::string& dir, const std::string& stem, const std::vector<pkg_test::PkgEntry>& entries) {
  std::string text = "; " + stem + ": written by tessvarc-test-images\n"
                     "PACKAGE_TYPE = 0x07\nPACKAGE_VERSION = 0x0E020500\nPACKAGE_FLAGS = 0x0\n"
                     "PACKAGE_IMAGES = " + Hex(entries.size()) + "\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const pkg_test::PkgEntry& entry = entries[i];
    std::string path = dir + "/" + stem + "-" + std::to_string(i + 1) + ".bin";
    if (!WriteFile(path, entry.data)) return false;
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "IMAGE_START_TAG = 0xFFFFFFFF\nIMAGE_TYPE = 0x%X\nIMAGE_UNIQUEID = 0x%08X%08X\nIMAGE_VERSION = 0x%zX\n",
                  entry.type, entry.configIdHigh, entry.configIdLow, i + 1);
    text += numbers;
    text += "IMAGE_FILEPATH = \"" + path + "\"\nIMAGE_END_TAG = 0xFFFFFFFF\n";
  }
  return WriteFile(dir + "/" + stem + ".txt", Bytes(text.begin(), text.end()));
}

// Writes the manifest of the entries and runs the package builder's command
// on it: the package <name> of DIR.
bool CreatePackage(const std::string& dir, const std::string& name,
                   const std::vector<pkg_test::PkgEntry>& entries) {
  const std::string stem = name.substr(0, name.rfind('.'));
  if (!WriteManifest(dir, stem, entries)) return false;
  std::string words[] = {"-createpkg", dir + "/" + stem + ".txt", "-output", dir + "/" + name};
  char* argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data()};
  CommandContext context;
  if (CreatePkgCommandParse(4, argv, &context) != kParseGoOn) return false;
  return CreatePkgCommandExec(&context) == 0;
}

// Packages made by the package builder.
const std::map<std::string, std::function<bool(const std::string& dir, const std::string& name)>>& Built() {
  static const std::map<std::string, std::function<bool(const std::string&, const std::string&)>> built = {
      // Every entry kind of pkg-every-kind.bin, the controller firmware last.
      {"pkg-built.bin",
       [](const std::string& dir, const std::string& name) {
         return CreatePackage(dir, name,
                              {PkgRom(2, true, false, 0x64), PkgModule(), PkgRom(3, false, true, 0x7E),
                               PkgRom(4, true, false, 0x7E), {6, Bytes(64, 0xA5)}, PkgFirmware()});
       }},
  };
  return built;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tessvarc-test-images DIR NAME...\n");
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    auto package = Built().find(argv[i]);
    if (package != Built().end()) {
      if (!package->second(argv[1], argv[i])) return 1;
      continue;
    }
    auto image = Images().find(argv[i]);
    if (image == Images().end()) {
      std::fprintf(stderr, "tessvarc-test-images: no image named %s\n", argv[i]);
      return 2;
    }
    if (!WriteFile(std::string(argv[1]) + "/" + argv[i], image->second())) return 1;
  }
  return 0;
}
