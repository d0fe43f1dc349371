// The VPD data file reader on arbitrary text, and the VPD display on the
// same bytes taken as a page from the card. The input is copied to a buffer
// of its exact size (no terminating NUL), so that the sanitizer sees any
// read past its end. Whatever the reader accepts, the display must read back
// whole: a VPD that starts with the identifier string and ends at the end
// tag, inside the 256-byte area.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/vpd/vpd_print.h"
#include "app/vpd/vpd_text_file.h"
#include "fuzz/fuzz_card.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  fuzz_card::Adapter();
  std::vector<char> text(input, input + size);
  std::vector<uint8_t> vpd;
  bool parsed = ParseVpdFile(text.data(), text.size(), &vpd);
  fuzz_card::Drain();
  if (parsed) {
    if (vpd.size() < 4 || vpd.size() > 256 || vpd.front() != 0x82 || vpd.back() != 0x78) __builtin_trap();
    std::vector<uint8_t> page(260, 0);
    page[1] = 65;
    for (size_t i = 0; i < vpd.size(); ++i) page[4 + i] = vpd[i];
    PrintVpdInfo(page.data(), page.size());
    std::string shown = emu::Current().TakeOutput();
    // The card's text prints without line breaks, so only the display's own
    // messages hold these lines.
    if (shown.find("\nUlvane Corvexium Management Utility: VPD information incomplete.\n") != std::string::npos ||
        shown.find("\nUlvane Corvexium Management Utility: VPD information is not programmed") != std::string::npos) {
      __builtin_trap();
    }
  }

  std::vector<uint8_t> page(input, input + size);
  PrintVpdInfo(page.empty() ? nullptr : page.data(), page.size());
  fuzz_card::Drain();
  return 0;
}
