// The controller's asynchronous events, as the driver collects them in a
// ring of entries, and its persistent event log (log page 0): event types
// are queried and enabled, the driver's entries fetched, filtered by the
// adapter's own mask into its queue of event records and handed out one at
// a time; likewise the log's entries. No command uses them; they are part of
// the library's public set.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"

// A queued record (an event record of 216 bytes or a log record of 64), in
// the order queued. The queues hang from the adapter record.
struct RecordQueueNode {
  RecordQueueNode* next;
  uint8_t bytes[216];
};

// The event query ioctl: the enabled mask (16 bytes) and the number of
// entries the driver keeps, each copied when asked for.
LibStatus EventQuery(LibContext* context, const LibHandle* adapter, uint8_t* mask, uint16_t* entries);
// ORs mask into the driver's current one and writes it with the enable
// ioctl; newMask, when given, gets what was written.
LibStatus EventEnable(LibContext* context, const LibHandle* adapter, const uint32_t mask[4], uint32_t* newMask);
// The enable ioctl with an all-zero mask.
LibStatus EventEnableFromAdapter(LibContext* context, const LibHandle* adapter);
// The report ioctl into room for *count entries; *count gets the entries
// copied into buffer (200 bytes each): never more than the room, whatever
// the driver says it keeps.
LibStatus EventReport(LibContext* context, const LibHandle* adapter, uint8_t* buffer, uint16_t* count);

// The adapter's own mask, which CollectEvents applies.
LibStatus SetEventMask(LibContext* context, const LibHandle* adapter, const uint8_t mask[16]);
// Moves the driver's new entries whose type passes the adapter's mask, oldest
// first, into the adapter's event queue; 16 when memory ran out.
LibStatus CollectEvents(LibContext* context, const LibHandle* adapter);
// Appends a copy of a 216-byte record; its sequence number becomes the last
// one queued.
LibStatus QueueEventRecord(LibContext* context, const LibHandle* adapter, const uint8_t* record);
// Pops the oldest record into *record: 21 when its size word is not 216
// (nothing popped), 33 when the queue is empty.
LibStatus NextEventRecord(LibContext* context, const LibHandle* adapter, uint8_t* record);

// Moves log page 0's entries newer than the last one queued into the log
// queue: 23 when the controller's message version is below 0x0200.
LibStatus ReadEventLogEntries(LibContext* context, const LibHandle* adapter);
// Pops the oldest log record (64 bytes): 21 for a size word other than 64,
// 33 when empty.
LibStatus NextEventLogEntry(LibContext* context, const LibHandle* adapter, uint8_t* record);

// Asks the driver for a notification signal when events arrive: a
// read-only descriptor on the first-generation control node, kept in the
// context, owned by this process and in asynchronous mode, with a handler
// for the notification signal that does nothing. No other signal is
// touched. 0, or the error number of the step that failed.
LibStatus EnableAsyncEvents(LibContext* context);

// Frees the adapter's queues.
void FreeEventQueues(LibContext* context, AdapterRecord* adapter);
