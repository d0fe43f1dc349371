// The adapter's queues of records: appended at the tail, popped at the head.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/events/events.h"

// Appends a copy of size bytes (at most 216); false when memory ran out.
bool AppendRecord(LibContext* context, RecordQueueNode** queue, const uint8_t* bytes, size_t size);
// Moves the oldest record's size bytes into out; false when the queue is empty.
bool PopRecord(LibContext* context, RecordQueueNode** queue, uint8_t* out, size_t size);
void FreeRecords(LibContext* context, RecordQueueNode** queue);
