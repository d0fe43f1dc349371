// The package manifest reader on arbitrary text, and what the writer makes
// of every manifest it accepts. The input is copied to a buffer of its exact
// size (no terminating NUL), so that the sanitizer sees any read past its
// end. An accepted manifest must declare a package the format can hold,
// section for section, each image's size the size of its file; assembled, it
// must pass the reader's checks of the file alone (which refuse only a
// second controller firmware entry of what the manifest may declare).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/package/flash_package.h"
#include "app/package/flash_package_layout.h"
#include "app/package/package_builder.h"
#include "app/package/package_manifest.h"
#include "app/shell/app_buffer.h"
#include "fuzz/fuzz_card.h"
#include "fuzz/pkg_manifest_images.h"

namespace {

void WriteImages() {
  static bool written = [] {
    const std::string folder = pkg_manifest_fuzz::ImageFolder();
    std::filesystem::create_directories(folder);
    for (const auto& image : pkg_manifest_fuzz::kImageFiles) {
      std::ofstream(folder + "/" + image.name, std::ios::binary | std::ios::trunc) << std::string(image.size, 'i');
    }
    return true;
  }();
  (void)written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  fuzz_card::Adapter();
  WriteImages();
  std::vector<char> text(input, input + size);
  PkgSpec spec;
  bool read = ReadPkgManifest(text.data(), text.size(), "manifest.txt", &spec);
  fuzz_card::Drain();
  if (!read) {
    if (!spec.images.empty()) __builtin_trap();
    return 0;
  }
  if (spec.packageType < 1 || spec.packageType > flash_pkg_header::kHighestPackageType) __builtin_trap();
  if (spec.images.size() != spec.declaredImages || PkgTotalSize(spec) == 0) __builtin_trap();
  uint32_t firmware = 0;
  for (const PkgImageSpec& image : spec.images) {
    std::error_code error;
    if (image.type < kPkgImageFirmware || image.type > kPkgImageIgnored) __builtin_trap();
    if (std::filesystem::file_size(image.path, error) != image.size || error) __builtin_trap();
    firmware += image.type == kPkgImageFirmware;
  }
  AppBuffer package;
  if (!AssemblePackage(spec, &package)) __builtin_trap();
  uint32_t alone = CheckFlashPkgFile(package.get(), static_cast<uint32_t>(package.size()));
  if ((alone == 0) != (firmware <= 1)) __builtin_trap();
  fuzz_card::Drain();
  return 0;
}
