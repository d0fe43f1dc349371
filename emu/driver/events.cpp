// The driver's event ioctls: the ring's length and enabled types, enabling
// more types, and a copy of the ring. The driver writes no more of the
// report block than its header says the block holds.
#include <cerrno>
#include <cstring>

#include "emu/controller/handlers.h"
#include "emu/driver/ioctl_blocks.h"
#include "emu/host/le_bytes.h"

namespace emu::driver {

int EventQuery(const AdapterModel& adapter, uint8_t* block) {
  le::Put16(block + ioctl::event::kQueryEntries, static_cast<uint16_t>(adapter.eventRing.size()));
  for (uint32_t word = 0; word < 4; ++word) {
    le::Put32(block + ioctl::event::kQueryMask + 4 * word, adapter.eventMask[word]);
  }
  return 0;
}

int EventEnable(AdapterModel& adapter, uint8_t* block) {
  for (uint32_t word = 0; word < 4; ++word) {
    adapter.eventMask[word] = le::Get32(block + ioctl::event::kEnableMask + 4 * word);
  }
  return 0;
}

int EventReport(const AdapterModel& adapter, uint8_t* block) {
  uint32_t size = le::Get32(block + ioctl::header::kMaxDataSize);
  if (size < ioctl::header::kBytes) return EINVAL;
  size_t room = (size - ioctl::header::kBytes) / ioctl::event::kEntryBytes;
  uint8_t* out = block + ioctl::event::kReportEntries;
  for (size_t i = 0; i < adapter.eventRing.size() && i < room; ++i) {
    const std::vector<uint8_t>& entry = adapter.eventRing[i];
    std::memset(out, 0, ioctl::event::kEntryBytes);
    std::memcpy(out, entry.data(), entry.size() < ioctl::event::kEntryBytes ? entry.size() : ioctl::event::kEntryBytes);
    out += ioctl::event::kEntryBytes;
  }
  return 0;
}

}  // namespace emu::driver
