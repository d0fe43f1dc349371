#include "ctl/events/record_queue.h"

#include <cstring>

bool AppendRecord(LibContext* context, RecordQueueNode** queue, const uint8_t* bytes, size_t size) {
  if (size > sizeof(RecordQueueNode::bytes)) return false;
  auto* node = static_cast<RecordQueueNode*>(QmxAlloc(context, 1, sizeof(RecordQueueNode)));
  if (node == nullptr) return false;
  std::memcpy(node->bytes, bytes, size);
  RecordQueueNode** tail = queue;
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = node;
  return true;
}

bool PopRecord(LibContext* context, RecordQueueNode** queue, uint8_t* out, size_t size) {
  RecordQueueNode* head = *queue;
  if (head == nullptr) return false;
  std::memcpy(out, head->bytes, size);
  *queue = head->next;
  QmxFree(context, head);
  return true;
}

void FreeRecords(LibContext* context, RecordQueueNode** queue) {
  while (*queue != nullptr) {
    RecordQueueNode* next = (*queue)->next;
    QmxFree(context, *queue);
    *queue = next;
  }
}
