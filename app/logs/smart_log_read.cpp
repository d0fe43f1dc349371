#include "app/logs/smart_log_read.h"

#include "app/card/modk_module.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint8_t kLogDirectory = 0x00;

}  // namespace

uint32_t SmartLogSectors(uint8_t logAddress, const uint8_t* directory, const uint8_t* diagInfo) {
  if (logAddress == kSystemEventLogAddress) {
    return IsModkModule(diagInfo) ? kSystemEventSectorsSmall : kSystemEventSectors;
  }
  return GetLe16(directory, 2u * logAddress);
}

uint32_t ReadSmartLog(uint32_t vxHandle, uint32_t ssdHandle, uint8_t logAddress, AppBuffer* log, uint32_t* sectors) {
  *log = AppBuffer();
  *sectors = 0;
  uint8_t directory[kAtaSectorSize] = {};
  if (ReadAtaLog(vxHandle, ssdHandle, kLogDirectory, 1, directory, sizeof directory, 0) != 0) return 1;
  uint8_t diag[diag_info::kReadSize] = {};
  if (LibZKSSDGetDiagInfo(vxHandle, ssdHandle, diag, diag_info::kReadSize) != 0) return 1;
  uint32_t count = SmartLogSectors(logAddress, directory, diag);
  if (count == 0) return 0;

  AppBuffer data(static_cast<size_t>(count) * kAtaSectorSize);
  if (!data) return 1;
  if (logAddress == kSystemEventLogAddress) {
    constexpr uint32_t kChunkBytes = kSystemEventChunkSectors * kAtaSectorSize;
    for (uint32_t first = 0; first < count; first += kSystemEventChunkSectors) {
      if (ReadAtaLog(vxHandle, ssdHandle, logAddress, kSystemEventChunkSectors,
                     data.get() + static_cast<size_t>(first) * kAtaSectorSize, kChunkBytes,
                     static_cast<uint16_t>(first)) != 0) {
        return 1;
      }
    }
  } else if (ReadAtaLog(vxHandle, ssdHandle, logAddress, count, data.get(), count * kAtaSectorSize, 0) != 0) {
    return 1;
  }
  *log = std::move(data);
  *sectors = count;
  return 0;
}
