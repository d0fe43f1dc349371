// The adapter's event-log queue: the entries of the controller's log page 0
// that are newer than the last one queued.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/events/events.h"
#include "ctl/events/record_queue.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/event_blocks.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/objects/object_tree.h"
#include "os/port.h"

namespace {

constexpr uint16_t kLastLogSequence = 0xFFFF;

// Log sequence numbers count up to 0xFFFF and start again at 0.
bool Newer(uint16_t sequence, uint16_t last) {
  return sequence > last || (sequence == 0 && last == kLastLogSequence);
}

uint16_t SequenceOf(const uint8_t* entry) { return GetLe16(entry, log_entry::kSequence); }

}  // namespace

LibStatus ReadEventLogEntries(LibContext* context, const LibHandle* adapter) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  if (GetLe16(a->iocFacts, ioc_facts_reply::kMessageVersion) < kEventLogMessageVersion) return kLibNotSupported;

  PageCopy page(context);
  status = page.Read(adapter, 0, kPageTypeExtended, log_page0::kNumber, kExtPageLog, kReadCurrent);
  if (status != kLibOk) return status;
  if (page.size() < log_page0::kEntries) return kLibOk;  // no room for a single entry
  // Only entries that lie wholly inside the page count, whatever it announces.
  size_t count = GetLe16(page.data(), log_page0::kEntryCount);
  size_t room = (page.size() - log_page0::kEntries) / log_entry::kSize;
  if (count > room) count = room;
  if (count == 0) return kLibOk;
  const uint8_t* entries = page.data() + log_page0::kEntries;
  auto entry = [&](size_t i) { return entries + i * log_entry::kSize; };

  const uint16_t last = a->events.lastLogSequence;
  size_t start = count - 1;
  for (size_t i = 0; i < count; ++i) {
    if (GetLe16(entry(i), log_entry::kQualifier) != 0 && SequenceOf(entry(i)) == last) {
      start = (last != 0 && i + 1 < count) ? i + 1 : i;
      break;
    }
  }
  for (size_t i = start + 1; i-- > 0;) {
    if (!Newer(SequenceOf(entry(i)), a->events.lastLogSequence)) continue;  // refused: seen already
    uint8_t record[event_log_record::kSize] = {};
    PutLe32(record, event_log_record::kSizeWord, event_log_record::kSize);
    PutLe64(record, event_log_record::kTime, static_cast<uint64_t>(os::ActivePort().Time()));
    std::memcpy(record + event_log_record::kEntry, entry(i), log_entry::kSize);
    if (!AppendRecord(context, &a->events.eventLogQueue, record, sizeof record)) return kLibNoMemory;
    a->events.lastLogSequence = SequenceOf(entry(i));
  }
  return kLibOk;
}

LibStatus NextEventLogEntry(LibContext* context, const LibHandle* adapter, uint8_t* record) {
  if (record == nullptr) return kLibBadParameter;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  if (GetLe32(record, event_log_record::kSizeWord) != event_log_record::kSize) return kLibWrongRecordSize;
  if (!PopRecord(context, &a->events.eventLogQueue, record, event_log_record::kSize)) return kLibEventQueueEmpty;
  return kLibOk;
}
