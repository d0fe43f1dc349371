// The flash package checks on arbitrary files: the checks of the file alone,
// the checksum, then the whole validation against the emulated default card
// (the entries' images checked as -f, -b and -flashssd check them, the
// modules' configuration, the required images and the size). The input is
// the package file, copied to a buffer of its exact size so that the
// sanitizer sees any read past its end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/package/flash_package.h"
#include "app/shell/program_state.h"
#include "fuzz/fuzz_card.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  fuzz_card::Adapter();
  SelectedController = 1;
  std::vector<uint8_t> file(input, input + size);
  uint8_t* package = file.empty() ? nullptr : file.data();
  const auto length = static_cast<uint32_t>(file.size());
  if (package != nullptr) ComputeFlashPkgChecksum(package, length);
  uint32_t alone = CheckFlashPkgFile(package, length);
  fuzz_card::Input("n\n");
  uint32_t whole = ValidateFlashPkg(package, length);
  // A file the checks of the file alone refuse is never valid.
  if (alone != 0 && whole == 0) __builtin_trap();
  fuzz_card::Drain();
  return 0;
}
