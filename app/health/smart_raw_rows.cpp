// The -raw dumps of the health report.
#include "app/shell/console.h"
#include "app/card/module_scsi.h"
#include "app/health/smart_attributes.h"
#include "cardlib/layouts/scsi_cdbs.h"
#include "cardlib/layouts/smart_data.h"
#include "ctl/base/byte_order.h"

namespace {

// LOG SENSE of one page's cumulative values.
constexpr uint16_t kLogAllocationValue = 0x1000;
constexpr size_t kLogPageLength = 2;  // u16 big-endian, after the 4-byte header
constexpr uint32_t kLogHeaderSize = 4;
constexpr uint32_t kRowBytes = 16;
// A row's text: its offset and 16 bytes in hex.
constexpr size_t kRowTextSize = 64;

struct LogPage {
  uint8_t code;
  const char* title;
};

constexpr LogPage kLogPages[] = {
    {0x2F, "\nInformational Exceptions Log Page Raw Data\n"},
    {0x0E, "\nStartStopCycleCounter Log Page Raw Data\n"},
    {0x19, "\nStatistics Performance Log Page Raw Data\n"},
    {0x36, "\nError Statistics Log Page Raw Data\n"},
    {0x02, "\nWrite Error Counter Log Page Raw Data\n"},
};

void DumpLogPage(uint32_t ssdHandle, const LogPage& page) {
  ConsolePrint("%s", page.title);
  uint8_t cdb[log_sense_cdb::kCdbLength] = {};
  cdb[0] = log_sense_cdb::kOperation;
  cdb[log_sense_cdb::kPage] = static_cast<uint8_t>(log_sense_cdb::kCumulativeValues | page.code);
  cdb[log_sense_cdb::kAllocation] = static_cast<uint8_t>(kLogAllocationValue >> 8);
  cdb[log_sense_cdb::kAllocation + 1] = static_cast<uint8_t>(kLogAllocationValue);
  uint8_t data[kScsiReadSize] = {};
  if (ScsiCdb10In(ssdHandle, cdb, data) != 0) {
    ConsolePrint("\nFailed to fetch the page\n");
    return;
  }
  // The page names its own length; no more than was received is shown.
  uint32_t length = GetBe16(data, kLogPageLength) + kLogHeaderSize;
  if (length > sizeof data) length = sizeof data;
  for (uint32_t row = 0; row < length; row += kRowBytes) {
    uint32_t end = row + kRowBytes < length ? row + kRowBytes : length;
    char line[kRowTextSize] = {};
    size_t used = FormatString(line, sizeof line, "\n0x%04x : ", row);
    for (uint32_t offset = row; offset < end; ++offset) {
      used += FormatString(line + used, sizeof line - used, "%02x", data[offset]);
    }
    PrintAndClear(line, sizeof line);
  }
  ConsolePrint("\n");
}

}  // namespace

void PrintSmartEntriesRaw(const uint8_t* entries) {
  if (entries == nullptr) {
    ConsolePrint("\n");
    return;
  }
  for (uint32_t i = 0; i < kSmartAttributeCount; ++i) {
    const uint8_t* entry = entries + i * smart_data::kEntrySize;
    char line[kRowTextSize] = {};
    uint32_t offset = static_cast<uint32_t>(smart_data::kAttributes + i * smart_data::kEntrySize);
    size_t used = FormatString(line, sizeof line, "\n0x%04x : ", offset);
    for (size_t b = smart_data::kEntrySize; b > 0; --b) {
      used += FormatString(line + used, sizeof line - used, "%02x", entry[b - 1]);
    }
    PrintAndClear(line, sizeof line);
  }
  ConsolePrint("\n");
}

void DumpSasHealthLogPages(uint32_t ssdHandle) {
  for (const LogPage& page : kLogPages) DumpLogPage(ssdHandle, page);
  ConsolePrint("\n");
}
