// The three event ioctls of the driver: query, enable and report.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/events/events.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/frames/event_blocks.h"
#include "ctl/objects/object_tree.h"
#include "ctl/transport/driver_transport.h"

namespace {

// The header every driver block begins with; the driver may use the whole
// block it is told of and no more.
void PutHeader(uint8_t* block, const AdapterRecord* adapter, size_t blockSize) {
  PutLe32(block, ioctl_header::kIocNumber, IocNumber(adapter));
  PutLe32(block, ioctl_header::kPortNumber, 0);
  PutLe32(block, ioctl_header::kMaxDataSize, static_cast<uint32_t>(blockSize));
}

}  // namespace

LibStatus EventQuery(LibContext* context, const LibHandle* adapter, uint8_t* mask, uint16_t* entries) {
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  uint8_t block[event_query_block::kSize] = {};
  PutHeader(block, record, sizeof block);
  status = AdapterIoctl(context, adapter, block, kIoctlEventQuery);
  if (status != kLibOk) return status;
  if (mask != nullptr) std::memcpy(mask, block + event_query_block::kMask, kEventMaskBytes);
  if (entries != nullptr) *entries = GetLe16(block, event_query_block::kEntries);
  return kLibOk;
}

LibStatus EventEnable(LibContext* context, const LibHandle* adapter, const uint32_t mask[4], uint32_t* newMask) {
  if (mask == nullptr) return kLibBadParameter;
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  uint8_t current[kEventMaskBytes] = {};
  status = EventQuery(context, adapter, current, nullptr);
  if (status != kLibOk) return status;

  uint8_t block[event_enable_block::kSize] = {};
  PutHeader(block, record, sizeof block);
  uint32_t written[kEventMaskWords];
  for (size_t word = 0; word < kEventMaskWords; ++word) {
    written[word] = GetLe32(current, 4 * word) | mask[word];
    PutLe32(block, event_enable_block::kMask + 4 * word, written[word]);
  }
  status = AdapterIoctl(context, adapter, block, kIoctlEventEnable);
  if (status != kLibOk) return status;
  if (newMask != nullptr) std::memcpy(newMask, written, sizeof written);
  return kLibOk;
}

LibStatus EventEnableFromAdapter(LibContext* context, const LibHandle* adapter) {
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  uint8_t block[event_enable_block::kSize] = {};
  PutHeader(block, record, sizeof block);
  return AdapterIoctl(context, adapter, block, kIoctlEventEnable);
}

LibStatus EventReport(LibContext* context, const LibHandle* adapter, uint8_t* buffer, uint16_t* count) {
  if (count == nullptr || (*count != 0 && buffer == nullptr)) return kLibBadParameter;
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  uint16_t kept = 0;
  status = EventQuery(context, adapter, nullptr, &kept);
  if (status != kLibOk) return status;

  const uint16_t room = *count;
  const size_t blockSize = event_report_block::SizeFor(room);
  LibBuffer block(context, blockSize);
  if (!block) return kLibNoMemory;
  PutHeader(block.get(), record, blockSize);
  status = AdapterIoctl(context, adapter, block.get(), kIoctlEventReport);
  if (status != kLibOk) return status;
  // The driver may keep more entries than the caller made room for: only
  // what both the block and the caller's buffer hold is copied.
  const uint16_t copied = kept < room ? kept : room;
  if (copied != 0) {
    std::memcpy(buffer, block.get() + event_report_block::kEntries, size_t{copied} * event_entry::kSize);
  }
  *count = copied;
  return kLibOk;
}
