// Diagnostic buffers: host memory the driver registers with the controller
// for its trace or snapshot data, keyed by a unique id. The driver answers as
// a Linux SAS driver does: EPERM for a buffer type the controller cannot
// keep or for reading an unregistered buffer, EINVAL for ids, sizes and
// offsets that do not fit the state, ENOMEM for a size it cannot allocate,
// EFAULT when the data would not fit the caller's block.
#include <cerrno>
#include <cstring>

#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/driver/ioctl_blocks.h"
#include "emu/host/le_bytes.h"

namespace emu::driver {
namespace {

namespace dg = ioctl::diag;

bool Supported(uint8_t type) { return type == dg::kTypeTrace || type == dg::kTypeSnapshot; }

// The registered buffer with this unique id, or null.
DiagBuffer* ById(AdapterRuntime& runtime, uint32_t uniqueId) {
  for (auto& [type, buffer] : runtime.diagBuffers) {
    if (buffer.uniqueId == uniqueId) return &buffer;
  }
  return nullptr;
}

}  // namespace

int DiagRegister(AdapterRuntime& runtime, uint8_t* block) {
  uint8_t type = block[dg::kRegBufferType];
  uint32_t size = le::Get32(block + dg::kRegRequestedSize);
  uint32_t uniqueId = le::Get32(block + dg::kRegUniqueId);
  if (!Supported(type)) return EPERM;
  auto existing = runtime.diagBuffers.find(type);
  if (existing != runtime.diagBuffers.end() && !existing->second.released) return EINVAL;
  if (size == 0 || size % 4 != 0) return EINVAL;
  if (size > dg::kMaxBufferBytes) return ENOMEM;
  DiagBuffer buffer;
  buffer.bufferType = type;
  buffer.uniqueId = uniqueId;
  buffer.size = size;
  buffer.diagnosticFlags = le::Get32(block + dg::kRegDiagnosticFlags);
  runtime.diagBuffers[type] = buffer;
  return 0;
}

int DiagUnregister(AdapterRuntime& runtime, uint8_t* block) {
  DiagBuffer* buffer = ById(runtime, le::Get32(block + dg::kUniqueId));
  if (buffer == nullptr) return EINVAL;
  // The controller may still write into a buffer it was not asked to release.
  if (!buffer->released) return EINVAL;
  runtime.diagBuffers.erase(buffer->bufferType);
  return 0;
}

int DiagQuery(AdapterRuntime& runtime, uint8_t* block) {
  uint8_t type = block[dg::kQueryBufferType];
  if (!Supported(type)) return EPERM;
  auto it = runtime.diagBuffers.find(type);
  if (it == runtime.diagBuffers.end()) return EINVAL;
  uint32_t uniqueId = le::Get32(block + dg::kQueryUniqueId);
  if ((uniqueId & 0xFFFFFF00u) != 0 && uniqueId != it->second.uniqueId) return EINVAL;
  const DiagBuffer& buffer = it->second;
  uint16_t flags = dg::kAppOwned | dg::kBufferValid;
  if (!buffer.released) flags |= dg::kFirmwareAccess;
  le::Put16(block + dg::kQueryApplicationFlags, flags);
  le::Put32(block + dg::kQueryDiagnosticFlags, buffer.diagnosticFlags);
  std::memset(block + dg::kQueryProductSpecific, 0, dg::kQueryTotalSize - dg::kQueryProductSpecific);
  le::Put32(block + dg::kQueryTotalSize, buffer.size);
  le::Put32(block + dg::kQueryDriverAddedSize, 0);
  le::Put32(block + dg::kQueryUniqueId, buffer.uniqueId);
  return 0;
}

int DiagRead(const AdapterModel& adapter, AdapterRuntime& runtime, uint8_t* block) {
  uint32_t maxData = le::Get32(block + ioctl::header::kMaxDataSize);
  uint32_t start = le::Get32(block + dg::kReadStartOffset);
  uint32_t count = le::Get32(block + dg::kReadBytesToRead);
  uint32_t uniqueId = le::Get32(block + dg::kReadUniqueId);
  DiagBuffer* buffer = ById(runtime, uniqueId);
  if (buffer == nullptr) {
    // A known type whose buffer is not registered is refused, a foreign id is invalid.
    uint8_t type = static_cast<uint8_t>(uniqueId);
    bool ours = (uniqueId & 0xFFFFFF00u) == dg::kUniqueIdBase && Supported(type);
    return ours ? EPERM : EINVAL;
  }
  if (start % 4 != 0 || count % 4 != 0 || start > buffer->size) return EINVAL;
  uint32_t n = std::min(count, buffer->size - start);
  // The data goes behind the head; the caller's block must say it has room.
  if (maxData < dg::kReadData || n > maxData - dg::kReadData) return EFAULT;
  uint8_t* data = block + dg::kReadData;
  std::memset(data, 0, n);
  auto content = adapter.diagnosticData.find(buffer->bufferType);
  if (content != adapter.diagnosticData.end() && start < content->second.size()) {
    size_t have = std::min<size_t>(n, content->second.size() - start);
    std::memcpy(data, content->second.data() + start, have);
  }
  le::Put32(block + dg::kReadStatus, 0);
  return 0;
}

int DiagRelease(AdapterRuntime& runtime, uint8_t* block) {
  DiagBuffer* buffer = ById(runtime, le::Get32(block + dg::kUniqueId));
  if (buffer == nullptr) return EINVAL;
  buffer->released = true;  // releasing twice is answered as done
  return 0;
}

}  // namespace emu::driver

