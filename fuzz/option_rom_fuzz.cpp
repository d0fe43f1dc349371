// The option-ROM walks and checks on arbitrary bytes: the image and
// component lookups, the version walk, the new-file check against the
// emulated default card and the BIOS region assembly. The input is split in two:
// its first two bytes give the length of the "current region", the rest
// after it is the "new image file". Nothing may read outside either.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/images/bios_image_check.h"
#include "app/images/bios_region.h"
#include "app/images/option_rom_layout.h"
#include "app/images/rom_image_lookup.h"
#include "app/images/rom_image_version.h"
#include "app/shell/memory_strings.h"
#include "fuzz/fuzz_card.h"

namespace {

void Walk(const std::vector<uint8_t>& bytes) {
  const uint8_t* data = bytes.empty() ? nullptr : bytes.data();
  const auto length = static_cast<uint32_t>(bytes.size());
  for (uint8_t codeType : {0, 1, 3, 0xAA}) {
    uint32_t offset = 0, imageLength = 0;
    if (FindRomImage(data, length, &offset, &imageLength, codeType)) {
      if (static_cast<uint64_t>(offset) + imageLength > length || imageLength == 0) __builtin_trap();
    }
  }
  for (uint8_t group : {option_rom::kComponentGroupLegacy, option_rom::kComponentGroupUefi}) {
    for (uint16_t id : option_rom::kLegacyComponentOrder) {
      uint32_t offset = 0, size = 0;
      if (FindRomComponent(data, length, &offset, &size, group, id)) {
        if (static_cast<uint64_t>(offset) + size > length || size == 0) __builtin_trap();
      }
    }
  }
  for (uint8_t codeType : {0, 1, 3, 0xAA, 0xFF}) GetRomImageVersion(0, data, length, codeType);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  if (size < 2) return 0;
  size_t split = static_cast<size_t>(input[0] | (input[1] << 8)) * 16;
  if (split > size - 2) split = size - 2;
  // Exact-size copies, so that the sanitizer sees any read past either end.
  std::vector<uint8_t> current(input + 2, input + 2 + split);
  std::vector<uint8_t> fresh(input + 2 + split, input + size);
  Walk(current);
  Walk(fresh);

  // The check may rewrite the device ID of an accepted file, in place.
  std::vector<uint8_t> checked = fresh;
  uint32_t valid = ValidateBiosImage(checked.empty() ? nullptr : checked.data(), static_cast<uint32_t>(checked.size()),
                                     fuzz_card::Adapter(), nullptr, nullptr);
  fuzz_card::Drain();
  if (!valid && checked != fresh) __builtin_trap();

  AppBuffer region;
  uint32_t regionSize = 0;
  uint32_t built = AssembleBiosRegion(current.empty() ? nullptr : current.data(), static_cast<uint32_t>(current.size()),
                                      fresh.empty() ? nullptr : fresh.data(), static_cast<uint32_t>(fresh.size()),
                                      &region, &regionSize);
  if (built == kRegionBuilt) {
    if (!region || regionSize == 0 || regionSize > region.size()) __builtin_trap();
    // The rebuilt region is itself a chain the walks must accept.
    std::vector<uint8_t> rebuilt(region.get(), region.get() + regionSize);
    Walk(rebuilt);
  }
  return 0;
}
