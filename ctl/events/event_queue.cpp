// The adapter's event queue: the driver's new entries, filtered by the
// adapter's mask, oldest first.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/events/events.h"
#include "ctl/events/record_queue.h"
#include "ctl/frames/event_blocks.h"
#include "ctl/objects/object_tree.h"
#include "os/port.h"

namespace {

bool TypeEnabled(const uint8_t mask[kEventMaskBytes], uint32_t code) {
  if (code >= kEventCodesMasked) return true;
  return (GetLe32(mask, 4 * (code / 32)) >> (code % 32) & 1u) != 0;
}

uint32_t SequenceAt(const uint8_t* entries, size_t index) {
  return GetLe32(entries, index * event_entry::kSize + event_entry::kSequence);
}

// Queues one driver entry when it is new and its type is enabled; false when
// memory ran out.
bool Offer(LibContext* context, AdapterRecord* adapter, const LibHandle* handle, const uint8_t* entry) {
  uint32_t sequence = GetLe32(entry, event_entry::kSequence);
  if (sequence == 0 || sequence <= adapter->events.lastSequence) return true;
  if (!TypeEnabled(adapter->events.typeMask, GetLe32(entry, event_entry::kCode))) return true;
  uint8_t record[event_record::kSize] = {};
  PutLe32(record, event_record::kSizeWord, event_record::kSize);
  PutLe64(record, event_record::kTime, static_cast<uint64_t>(os::ActivePort().Time()));
  std::memcpy(record + event_record::kEntry, entry, event_entry::kSize);
  return QueueEventRecord(context, handle, record) == kLibOk;
}

}  // namespace

LibStatus SetEventMask(LibContext* context, const LibHandle* adapter, const uint8_t mask[16]) {
  if (mask == nullptr) return kLibBadParameter;
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  std::memcpy(record->events.typeMask, mask, kEventMaskBytes);
  return kLibOk;
}

LibStatus QueueEventRecord(LibContext* context, const LibHandle* adapter, const uint8_t* record) {
  if (record == nullptr) return kLibBadParameter;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  if (!AppendRecord(context, &a->events.eventQueue, record, event_record::kSize)) return kLibNoMemory;
  a->events.lastSequence = GetLe32(record, event_record::kSequence);
  return kLibOk;
}

LibStatus NextEventRecord(LibContext* context, const LibHandle* adapter, uint8_t* record) {
  if (record == nullptr) return kLibBadParameter;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  if (GetLe32(record, event_record::kSizeWord) != event_record::kSize) return kLibWrongRecordSize;
  if (!PopRecord(context, &a->events.eventQueue, record, event_record::kSize)) return kLibEventQueueEmpty;
  return kLibOk;
}

LibStatus CollectEvents(LibContext* context, const LibHandle* adapter) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  uint16_t kept = 0;
  status = EventQuery(context, adapter, nullptr, &kept);
  if (status != kLibOk) return status;
  LibBuffer entries(context, size_t{kept} * event_entry::kSize);
  if (!entries) return kLibNoMemory;
  uint16_t count = kept;
  status = EventReport(context, adapter, entries.get(), &count);
  if (status != kLibOk) return status;
  if (count == 0) return kLibOk;

  const uint8_t* e = entries.get();
  // The ring's oldest entry holds the smallest sequence number in use.
  size_t oldest = count;
  for (size_t i = 0; i < count; ++i) {
    uint32_t sequence = SequenceAt(e, i);
    if (sequence != 0 && (oldest == count || sequence < SequenceAt(e, oldest))) oldest = i;
  }
  if (oldest == count) return kLibOk;  // the ring is empty

  for (size_t i = oldest; i < count; ++i) {
    if (!Offer(context, a, adapter, e + i * event_entry::kSize)) return kLibNoMemory;
  }
  // Entries before the oldest one are newer when the ring has wrapped.
  const uint32_t smallest = SequenceAt(e, oldest);
  if (oldest != 0 && SequenceAt(e, 0) > SequenceAt(e, count - 1)) {
    for (size_t i = 0; i < oldest && SequenceAt(e, i) > smallest; ++i) {
      if (!Offer(context, a, adapter, e + i * event_entry::kSize)) return kLibNoMemory;
    }
  }
  return kLibOk;
}

void FreeEventQueues(LibContext* context, AdapterRecord* adapter) {
  FreeRecords(context, &adapter->events.eventQueue);
  FreeRecords(context, &adapter->events.eventLogQueue);
}
