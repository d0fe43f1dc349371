// Hexadecimal and page-address numbers from arbitrary text: the parsers
// never read past the text's end, and what they accept is exactly what a
// plain reading of the digits gives.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/readraw/read_raw.h"
#include "app/shell/hex_number.h"
#include "emu/host/emulator.h"

namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

uint64_t Value(const std::string& digits) {
  uint64_t v = 0;
  for (char c : digits) v = v << 4 | static_cast<uint64_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  static emu::Emulator& card = emu::Install(emu::DefaultHost());
  // An exact-size copy with its terminator, cut at the first NUL as a C
  // string would be.
  std::string text(reinterpret_cast<const char*>(input), size);
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));

  const bool prefixed = text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = prefixed ? text.substr(2) : text;
  bool expected = digits.size() <= kHexNumberMaxDigits;
  for (char c : digits) expected = expected && IsHex(c);

  uint32_t low = 0x5A5A5A5A;
  uint32_t high = 0xA5A5A5A5;
  const bool valid = ParseHexNumber(text.c_str(), &low, &high);
  if (valid != expected) __builtin_trap();
  if (valid) {
    const uint64_t v = Value(digits);
    if (low != static_cast<uint32_t>(v)) __builtin_trap();
    if (digits.size() > 8 && high != static_cast<uint32_t>(v >> 32)) __builtin_trap();
    if (digits.size() <= 8 && high != 0xA5A5A5A5) __builtin_trap();
  }

  uint32_t pageLow = 0;
  uint32_t pageHigh = 0;
  if (ParsePageAddress(text.c_str(), &pageLow, &pageHigh) && prefixed) {
    if (!valid || pageLow != static_cast<uint32_t>(Value(digits)) ||
        pageHigh != static_cast<uint32_t>(Value(digits) >> 32)) {
      __builtin_trap();
    }
  }
  card.TakeOutput();
  return 0;
}
