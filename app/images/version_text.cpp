#include "app/images/version_text.h"

#include "app/shell/console.h"

size_t FormatVersionBytes(char* text, size_t size, uint32_t version) {
  return FormatString(text, size, "%02d.%02d.%02d.%02d", static_cast<int>(version >> 24),
                      static_cast<int>((version >> 16) & 0xFF), static_cast<int>((version >> 8) & 0xFF),
                      static_cast<int>(version & 0xFF));
}

size_t FormatUefiVersion(char* text, size_t size, uint32_t version) {
  return FormatString(text, size, "%02d.%02d.%02d.%02d", static_cast<int>((version >> 13) & 0x7),
                      static_cast<int>((version >> 8) & 0x1F), static_cast<int>((version >> 4) & 0xF),
                      static_cast<int>(version & 0xF));
}
