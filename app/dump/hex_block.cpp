#include "app/dump/hex_block.h"

#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/memory_strings.h"

namespace {
constexpr uint32_t kGroupBytes = 4;
// "oooo : hhhhhhhh    cccc\n" and room for a longer offset.
constexpr size_t kRowRoom = 40;

char Shown(uint8_t byte) { return IsPrintChar(byte) ? static_cast<char>(byte) : '.'; }
}  // namespace

std::string HexBlockText(const uint8_t* bytes, uint32_t length, const char* title) {
  std::string text;
  if (title != nullptr) {
    text += "\n";
    text += title;
    text += "\n";
  }
  if (bytes == nullptr) return text;
  text.reserve(text.size() + (length / kGroupBytes) * 24);
  char row[kRowRoom] = {};
  for (uint32_t at = 0; at + kGroupBytes <= length; at += kGroupBytes) {
    const uint8_t* g = bytes + at;
    size_t n = FormatString(row, sizeof row, "%04x : %02x%02x%02x%02x    %c%c%c%c\n", at, g[3], g[2], g[1], g[0],
                            Shown(g[0]), Shown(g[1]), Shown(g[2]), Shown(g[3]));
    text.append(row, n);
  }
  return text;
}

bool DumpText(uint32_t file, const std::string& text) {
  if (text.empty()) return true;
  return FileWrite(file, static_cast<uint32_t>(text.size()), text.data()) == 1;
}

bool DumpHexBlock(uint32_t file, const uint8_t* bytes, uint32_t length, const char* title) {
  return DumpText(file, HexBlockText(bytes, length, title));
}
