// The module's logs, read with SMART READ LOG (from page 0) or READ LOG EXT
// (any page), as a SATA flash module keeps them. Each log is reachable by
// one command or both, and each log directory (log 0, by either command)
// lists the logs of its own command with their sizes in pages: the SMART
// error and self-test logs by SMART only; the extended ones, NCQ errors and
// phy events by READ LOG EXT only; the device statistics, the host logs
// (0x80-0x9F, 16 pages each, what the host wrote or zeros), the grown bad
// block list (0xA8), the SSD event log (0xB7) and the SCT logs by both.
// The system event log (0xFB) is read with READ LOG EXT only and is not in
// the directory: its size is fixed by the module's configuration (16 MiB
// for model type 4 or 8 with configuration "1591", else 32 MiB, more pages
// than a directory word holds). A log the card file names in `log-fails`
// is aborted whenever it is read. Reading past a log's end, or a log the
// command does not reach, is aborted.
#include <algorithm>

#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"
#include "emu/host/le_bytes.h"
#include "emu/modules/smart_attributes.h"

namespace emu {
namespace {

namespace lg = ata::logs;

struct LogEntry {
  uint8_t address;
  uint32_t pages;
  bool smart;  // reached by SMART READ LOG
  bool gpl;    // reached by READ LOG EXT
};

uint32_t SystemEventPages(const ModuleModel& m) {
  bool small = (m.modelType == '4' || m.modelType == '8') && m.configId == "1591";
  return small ? lg::kSystemEventPagesSmall : lg::kSystemEventPages;
}

std::vector<LogEntry> Catalog(const ModuleModel& m) {
  std::vector<LogEntry> logs = {
      {lg::kDirectory, 1, true, true},
      {lg::kSummaryError, 1, true, false},
      {lg::kComprehensiveError, 1, true, false},
      {lg::kExtComprehensiveError, 4, false, true},
      {lg::kDeviceStatistics, 8, true, true},
      {lg::kSelfTest, 1, true, false},
      {lg::kExtSelfTest, 1, false, true},
      {lg::kSelectiveSelfTest, 1, true, false},
      {lg::kNcqError, 1, false, true},
      {lg::kPhyEvents, 1, false, true},
  };
  for (unsigned a = lg::kFirstHostLog; a <= lg::kLastHostLog; ++a) {
    logs.push_back({static_cast<uint8_t>(a), lg::kHostLogPages, true, true});
  }
  logs.push_back({lg::kGrownBadBlocks, 1, true, true});
  logs.push_back({lg::kSsdEventLog, m.eventLogSectors, true, true});
  logs.push_back({lg::kSctCommandStatus, 1, true, true});
  logs.push_back({lg::kSctData, 1, true, true});
  logs.push_back({lg::kSystemEventLog, SystemEventPages(m), false, true});
  return logs;
}

const LogEntry* FindLog(const std::vector<LogEntry>& logs, uint8_t address) {
  for (const LogEntry& e : logs) {
    if (e.address == address) return &e;
  }
  return nullptr;
}

using Page = std::vector<uint8_t>;

void Checksum(Page* page) {
  uint8_t sum = 0;
  for (size_t i = 0; i + 1 < page->size(); ++i) sum = static_cast<uint8_t>(sum + (*page)[i]);
  page->back() = static_cast<uint8_t>(-sum);
}

Page Directory(const std::vector<LogEntry>& logs, bool gpl) {
  Page page(ata::kSectorBytes, 0);
  le::Put16(&page, 0, lg::kDirectoryVersion);
  for (const LogEntry& e : logs) {
    if (e.address == lg::kDirectory || e.address == lg::kSystemEventLog || !(gpl ? e.gpl : e.smart)) continue;
    le::Put16(&page, 2u * e.address, static_cast<uint16_t>(e.pages));
  }
  return page;
}

uint64_t RawOf(const ModuleModel& m, uint8_t id) {
  const SmartAttribute* a = FindSmartAttribute(m, id);
  return a == nullptr ? 0 : a->raw;
}

// Device statistics: page 0 lists the pages, page 1 the general statistics
// (power-on resets, power-on hours, sectors read) as valid quadwords.
Page DeviceStatistics(const ModuleModel& m, uint32_t number) {
  Page page(ata::kSectorBytes, 0);
  le::Put16(&page, 0, 1);
  le::Put8(&page, 2, static_cast<uint8_t>(number));
  if (number == 0) {
    le::Put8(&page, 8, 7);
    for (uint8_t p = 0; p < 8; ++p) le::Put8(&page, 9 + p, p);
  } else if (number == 1) {
    const uint64_t valid = 0xC0ull << 56;
    le::Put64(&page, 8, valid | (RawOf(m, kSmartPowerCycles) & 0xFFFFFFFF));
    le::Put64(&page, 16, valid | (RawOf(m, kSmartPowerOnHours) & 0xFFFFFFFF));
    le::Put64(&page, 40, valid | (RawOf(m, 1) & 0xFFFFFFFF));
  }
  return page;
}

// The retired blocks as a count and their block numbers.
Page GrownBadBlocks(const ModuleModel& m) {
  Page page(ata::kSectorBytes, 0);
  uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(RawOf(m, kSmartRetiredBlocks) & 0xFFFFFFFF, 127));
  le::Put32(&page, 0, count);
  for (uint32_t i = 0; i < count; ++i) le::Put32(&page, 4 + 4 * i, 0x1000 + 0x2F3 * (i + 1) + m.slot);
  return page;
}

// Event records of four words: a tag, the sector and index, a running
// time stamp and an event code, all following from the slot and position.
Page SsdEventSector(const ModuleModel& m, uint32_t sector) {
  Page page(ata::kSectorBytes, 0);
  for (uint32_t i = 0; i < ata::kSectorBytes / 16; ++i) {
    uint32_t at = 16 * i;
    le::Put32(&page, at, 0x5645u << 16 | m.slot);          // "EV" and the slot
    le::Put32(&page, at + 4, sector << 16 | i);
    le::Put32(&page, at + 8, 3600u * (sector * 32 + i));
    le::Put32(&page, at + 12, (sector * 32 + i) % 7 + 1);
  }
  return page;
}

Page SystemEventPage(const ModuleModel& m, uint32_t number) {
  Page page(ata::kSectorBytes, 0);
  le::PutText(&page, 0, 4, "SYSE");
  le::Put32(&page, 4, number);
  le::Put32(&page, 8, m.slot);
  for (uint32_t i = 12; i < ata::kSectorBytes; ++i) {
    page[i] = static_cast<uint8_t>(number * 31 + i * 7 + m.slot);
  }
  return page;
}

// Standard logs the module keeps empty: their version and, where the
// standard has one, the checksum.
Page EmptyLog(uint8_t address, uint32_t number) {
  Page page(ata::kSectorBytes, 0);
  if (number == 0) le::Put16(&page, 0, 1);
  if (address == lg::kSummaryError || address == lg::kComprehensiveError || address == lg::kSelfTest ||
      address == lg::kSelectiveSelfTest || address == lg::kNcqError) {
    Checksum(&page);
  }
  return page;
}

Page LogPage(AtaContext& c, const std::vector<LogEntry>& logs, uint8_t address, uint32_t number, bool gpl) {
  const ModuleModel& m = c.module;
  switch (address) {
    case lg::kDirectory: return Directory(logs, gpl);
    case lg::kDeviceStatistics: return DeviceStatistics(m, number);
    case lg::kGrownBadBlocks: return GrownBadBlocks(m);
    case lg::kSsdEventLog: return SsdEventSector(m, number);
    case lg::kSystemEventLog: return SystemEventPage(m, number);
    default: break;
  }
  if (address >= lg::kFirstHostLog && address <= lg::kLastHostLog) {
    Page page(ata::kSectorBytes, 0);
    auto it = c.runtime.hostLogs.find(address);
    if (it != c.runtime.hostLogs.end()) {
      std::copy_n(it->second.begin() + number * ata::kSectorBytes, ata::kSectorBytes, page.begin());
    }
    return page;
  }
  return EmptyLog(address, number);
}

// The log of this address the command reaches, holding these pages; null when not.
const LogEntry* Reachable(const std::vector<LogEntry>& logs, uint8_t address, uint32_t page, uint32_t count,
                          bool gpl) {
  const LogEntry* log = FindLog(logs, address);
  if (log == nullptr || !(gpl ? log->gpl : log->smart) || count == 0) return nullptr;
  if (static_cast<uint64_t>(page) + count > log->pages) return nullptr;
  return log;
}

}  // namespace

AtaAnswer ReadLog(AtaContext& c, uint8_t address, uint32_t page, uint32_t count, bool gpl) {
  if (address == lg::kSctCommandStatus) {
    if (page != 0 || count != 1) return Aborted();
    return DataIn(SctStatus(c));
  }
  if (address == lg::kSctData) return page == 0 ? SctReadData(c, count) : Aborted();
  std::vector<LogEntry> logs = Catalog(c.module);
  if (Reachable(logs, address, page, count, gpl) == nullptr) return Aborted();
  const std::vector<uint8_t>& failing = c.module.failingLogs;
  if (std::find(failing.begin(), failing.end(), address) != failing.end()) return Aborted();
  std::vector<uint8_t> data;
  data.reserve(static_cast<size_t>(count) * ata::kSectorBytes);
  for (uint32_t i = 0; i < count; ++i) {
    Page p = LogPage(c, logs, address, page + i, gpl);
    data.insert(data.end(), p.begin(), p.end());
  }
  return DataIn(std::move(data));
}

AtaAnswer WriteLog(AtaContext& c, uint8_t address, uint32_t page, uint32_t count, bool gpl) {
  std::vector<uint8_t> data;
  if (count == 0 || !c.TakeSectors(count, &data)) return Aborted();
  AtaAnswer answer;
  if (address == lg::kSctCommandStatus) {
    // A command block is one sector; the module also takes it padded to two
    // (the panic log query is sent so) and reads the action from the first.
    if (page != 0 || count > lg::kSctCommandSectorsMax) return Aborted();
    answer = SctCommand(c, data);
  } else if (address == lg::kSctData) {
    answer = page == 0 ? SctWriteData(c, data) : Aborted();
  } else if (address >= lg::kFirstHostLog && address <= lg::kLastHostLog &&
             Reachable(Catalog(c.module), address, page, count, gpl) != nullptr) {
    std::vector<uint8_t>& log = c.runtime.hostLogs[address];
    log.resize(lg::kHostLogPages * ata::kSectorBytes, 0);
    std::copy(data.begin(), data.end(), log.begin() + page * ata::kSectorBytes);
  } else if (address == lg::kSelectiveSelfTest && !gpl && count == 1) {
    // the selective self-test spans are taken and not acted on
  } else {
    return Aborted();
  }
  answer.bytesOut = static_cast<uint32_t>(data.size());
  return answer;
}

}  // namespace emu
