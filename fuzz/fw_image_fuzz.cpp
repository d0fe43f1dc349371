// The controller firmware image checks on arbitrary files, against the
// emulated default card: the extended-image lookups, the checksum, the
// board name and the whole validation with both skip options. The first
// input byte chooses the options and the answer to the identification
// prompt; the rest is the image file, copied to a buffer of its exact size
// so that the sanitizer sees any read past its end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/images/fw_image_checks.h"
#include "fuzz/fuzz_card.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  if (size < 1) return 0;
  const uint32_t adapter = fuzz_card::Adapter();
  const uint8_t options = input[0];
  std::vector<uint8_t> file(input + 1, input + size);
  const uint8_t* image = file.empty() ? nullptr : file.data();
  const auto length = static_cast<uint32_t>(file.size());

  if (image != nullptr) {
    FwImageChecksum(image, length);
    for (uint8_t type : {3, 4, 5, 7, 0}) {
      uint32_t header = 0, extSize = 0;
      if (FindFwExtImage(image, length, type, &header, &extSize) && (length < 0x40 || header > length - 0x40)) {
        __builtin_trap();  // a header the lookup hands back lies inside the file
      }
    }
    std::string name;
    ReadFwBoardName(image, length, &name);
    if (name.size() > 16) __builtin_trap();
  }
  fuzz_card::Input((options & 4) ? "y\n" : "n\n");
  uint16_t status = 0;
  uint32_t logInfo = 0;
  ValidateFwImage(image, length, adapter, &status, &logInfo, options & 1, (options >> 1) & 1);
  fuzz_card::Drain();
  return 0;
}
