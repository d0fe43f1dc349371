#include "app/shell/hex_number.h"

#include "app/shell/console.h"
#include "app/shell/memory_strings.h"

namespace {

constexpr uint32_t kDigitsPerWord = 8;
constexpr uint8_t kNotHexDigit = 0xFF;

// The value of `count` digits that are known to be hexadecimal.
uint32_t WordValue(const char* digits, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) value = value << 4 | HexCharValue(digits[i]);
  return value;
}

}  // namespace

bool HasHexPrefix(const char* text) {
  return text != nullptr && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

bool ParseHexNumber(const char* text, uint32_t* low, uint32_t* high) {
  if (text == nullptr || low == nullptr || high == nullptr) return false;
  const char* digits = HasHexPrefix(text) ? text + 2 : text;
  const size_t count = StrLength(digits);
  if (count > kHexNumberMaxDigits) {
    ConsolePrint("\tERROR: String %s is not a valid number\n", text);
    return false;
  }
  for (size_t i = 0; i < count; ++i) {
    if (HexCharValue(digits[i]) == kNotHexDigit) {
      ConsolePrint("\tERROR: String %s is not a valid number\n", text);
      return false;
    }
  }
  if (count <= kDigitsPerWord) {
    *low = WordValue(digits, count);
    return true;
  }
  const size_t highDigits = count - kDigitsPerWord;
  *high = WordValue(digits, highDigits);
  *low = WordValue(digits + highDigits, kDigitsPerWord);
  return true;
}
