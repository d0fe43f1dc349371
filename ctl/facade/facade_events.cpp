// The facade's event functions.
#include "ctl/events/events.h"
#include "ctl/facade/facade_context.h"
#include "ctl/facade/qmx.h"

LibStatus QmxEventQuery(const LibHandle* adapter, uint8_t* mask, uint16_t* entries) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return EventQuery(context, adapter, mask, entries);
}

LibStatus QmxEventEnable(const LibHandle* adapter, const uint32_t mask[4], uint32_t* newMask) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return EventEnable(context, adapter, mask, newMask);
}

LibStatus QmxEventEnableFromAdapter(const LibHandle* adapter) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return EventEnableFromAdapter(context, adapter);
}

LibStatus QmxEventReport(const LibHandle* adapter, uint8_t* buffer, uint16_t* count) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return EventReport(context, adapter, buffer, count);
}

LibStatus QmxSetEventMask(const LibHandle* adapter, const uint8_t mask[16]) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SetEventMask(context, adapter, mask);
}

LibStatus QmxCollectEvents(const LibHandle* adapter) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return CollectEvents(context, adapter);
}

LibStatus QmxNextEventRecord(const LibHandle* adapter, uint8_t* record) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return NextEventRecord(context, adapter, record);
}

LibStatus QmxReadEventLogEntries(const LibHandle* adapter) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ReadEventLogEntries(context, adapter);
}

LibStatus QmxNextEventLogEntry(const LibHandle* adapter, uint8_t* record) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return NextEventLogEntry(context, adapter, record);
}

LibStatus QmxEnableAsyncEvents() {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return EnableAsyncEvents(context);
}
