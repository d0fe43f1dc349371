// The SCT transport: a command sector to log 0xE0, data through log 0xE1,
// and the status read back from log 0xE0 after each step.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/sct_sector.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint32_t kStatusRetries = 5;

void ClearStatusWords() { g_ataPassthroughStatus = {0, 0, 0}; }

}  // namespace

uint32_t SctPollStatus(uint32_t vxHandle, uint32_t ssdHandle, uint32_t retries) {
  uint64_t reads = static_cast<uint64_t>(retries) + 1;
  uint32_t result = 1;
  for (uint64_t read = 0; read < reads; ++read) {
    uint8_t status[sct_status::kSize] = {};
    if (SendSmartCommand(vxHandle, ssdHandle, kSmartReadLog, kSctCommandLog, status, sizeof(status)) != 0) {
      // What a failed read left in the buffer is no status.
      return 1;
    }
    uint8_t format = Get8(status, sct_status::kFormat);
    uint8_t state = Get8(status, sct_status::kDeviceState);
    g_ataPassthroughStatus.lastSctStatus = (static_cast<uint32_t>(format) << 8) | state;
    if (format == sct_status::kReadyFormat && state == sct_status::kReadyState) {
      result = 0;
      break;
    }
  }
  return result;
}

uint32_t SctSendCommand(uint32_t vxHandle, uint32_t ssdHandle, const void* sector, uint32_t length) {
  ClearStatusWords();
  if (SendSmartCommand(vxHandle, ssdHandle, kSmartWriteLog, kSctCommandLog, const_cast<void*>(sector), length) != 0) {
    return 1;
  }
  return SctPollStatus(vxHandle, ssdHandle, kStatusRetries);
}

uint32_t SctReadData(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length) {
  ClearStatusWords();
  if (SendSmartCommand(vxHandle, ssdHandle, kSmartReadLog, kSctDataLog, buffer, length) != 0) return 1;
  return SctPollStatus(vxHandle, ssdHandle, kStatusRetries);
}

uint32_t SctWriteData(uint32_t vxHandle, uint32_t ssdHandle, const void* buffer, uint32_t length) {
  ClearStatusWords();
  if (SendSmartCommand(vxHandle, ssdHandle, kSmartWriteLog, kSctDataLog, const_cast<void*>(buffer), length) != 0) {
    return 1;
  }
  return SctPollStatus(vxHandle, ssdHandle, kStatusRetries);
}
