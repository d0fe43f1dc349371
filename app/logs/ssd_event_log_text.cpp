#include "app/logs/ssd_event_log_text.h"

#include "app/shell/console.h"
#include "app/shell/staged_file.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {
constexpr uint32_t kRowsPerSector = 16;
constexpr uint32_t kWordsPerRow = 8;
constexpr uint32_t kRowBytes = kWordsPerRow * 4;
static_assert(kRowsPerSector * kRowBytes == kAtaSectorSize);
}  // namespace

std::string SsdEventSectorText(const uint8_t* sector, uint32_t number) {
  std::string text;
  char line[128] = {};
  FormatString(line, sizeof line, "SSD Event Log Sector %u\n", number);
  text += line;
  for (uint32_t row = 0; row < kRowsPerSector; ++row) {
    FormatString(line, sizeof line, "%04X:", number * kAtaSectorSize + row * kRowBytes);
    text += line;
    for (uint32_t word = 0; word < kWordsPerRow; ++word) {
      FormatString(line, sizeof line, " %08X", GetLe32(sector, row * kRowBytes + word * 4));
      text += line;
    }
    text += "\n";
  }
  text += "\n\n";
  return text;
}

uint32_t WriteSsdEventLogText(const char* fileName, const uint8_t* log, uint32_t sectors) {
  if (sectors == 0) return 0;
  StagedFile file;
  if (!file.Open(fileName, "w")) {
    ConsolePrint("ERROR: Failed to create file '%s'\n", fileName);
    return 1;
  }
  for (uint32_t s = 0; s < sectors; ++s) {
    std::string text = SsdEventSectorText(log + static_cast<size_t>(s) * kAtaSectorSize, s);
    if (!file.Write(text.data(), static_cast<uint32_t>(text.size()))) {
      ConsolePrint("%s: Error writing SSD Event Log Sector %u data to file '%s'.\n", kUtilityTitle, s, fileName);
      return 1;
    }
  }
  if (!file.Commit()) {
    ConsolePrint("%s: Error writing SSD Event Log Sector %u data to file '%s'.\n", kUtilityTitle, sectors - 1,
                 fileName);
    return 1;
  }
  return 0;
}
