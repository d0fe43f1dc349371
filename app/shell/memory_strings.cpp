#include "app/shell/memory_strings.h"

#include <cstdlib>
#include <cstring>

void* AllocMem(size_t size) { return std::calloc(1, size == 0 ? 1 : size); }

void FreeMem(void* pointer) {
  if (pointer != nullptr) std::free(pointer);
}

void MemSet(void* destination, uint8_t value, size_t length) {
  if (length != 0) std::memset(destination, value, length);
}

void MemCopy(void* destination, const void* source, size_t length) {
  if (length != 0) std::memcpy(destination, source, length);
}

bool MemEqual(const void* a, const void* b, size_t n) {
  return n == 0 || std::memcmp(a, b, n) == 0;
}

bool StrEqual(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  return std::strcmp(a, b) == 0;
}

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool StrEqualNoCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  for (;; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
    if (*a == '\0') return true;
  }
}

void StrCopy(char* destination, const char* source) { std::strcpy(destination, source); }

void StrCopyN(char* destination, const char* source, size_t n) { std::strncpy(destination, source, n); }

size_t StrLength(const char* text) { return std::strlen(text); }

void CopyStringN(char* destination, const char* source, uint16_t n) {
  MemCopy(destination, source, n);
  destination[n] = '\0';
}

size_t StripBlanks(const char* source, char* destination) {
  size_t length = 0;
  for (; *source != '\0'; ++source) {
    if (*source != ' ' && *source != '\t') destination[length++] = *source;
  }
  destination[length] = '\0';
  return length;
}

bool IsDigitChar(int character) { return character >= '0' && character <= '9'; }

bool IsAlnumChar(int character) {
  return IsDigitChar(character) || (character >= 'a' && character <= 'z') ||
         (character >= 'A' && character <= 'Z');
}

bool IsPrintChar(int character) { return character >= 32 && character <= 126; }

void PrintableText(char* out, const void* field, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(field);
  for (size_t i = 0; i < size; ++i) out[i] = IsPrintChar(bytes[i]) ? static_cast<char>(bytes[i]) : ' ';
  out[size] = '\0';
}

void PrintableString(char* out, const char* text, size_t size) {
  size_t n = 0;
  while (n < size && text[n] != '\0') ++n;
  PrintableText(out, text, n);
}

uint8_t HexDigitValue(uint8_t character) {
  if (character >= '0' && character <= '9') return static_cast<uint8_t>(character - '0');
  if (character >= 'a' && character <= 'f') return static_cast<uint8_t>(character - 'a' + 10);
  if (character >= 'A' && character <= 'F') return static_cast<uint8_t>(character - 'A' + 10);
  return 0xFF;
}

uint8_t HexCharValue(char character) {
  if (character < 0) return 0xFF;
  return HexDigitValue(static_cast<uint8_t>(character));
}

uint32_t ParseDecimal(const char* text, bool* fits) {
  const uint64_t kLimit = 0xFFFFFFFFu;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (; IsDigitChar(*p); ++p) {
    if (!overflow) {
      value = value * 10 + static_cast<uint64_t>(*p - '0');
      if (value > kLimit) overflow = true;
    }
  }
  bool inRange = !overflow && !(negative && value != 0);
  if (fits != nullptr) *fits = inRange;
  return inRange ? static_cast<uint32_t>(value) : 0xFFFFFFFFu;
}
