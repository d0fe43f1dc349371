// The SMART feature set: read data and thresholds, read and write a log.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/ata/ata_request.h"
#include "cardlib/layouts/register_fis.h"

namespace {

enum class Direction { kIn, kOut, kNone };

struct SmartForm {
  uint8_t features;
  bool takesLog;   // LBA low names the SCT log
  bool forced;     // device bit 7
  Direction direction;
};

constexpr SmartForm kForms[] = {
    {ata::kSmartReadData, false, false, Direction::kIn},
    {ata::kSmartReadThresholds, false, false, Direction::kIn},
    {ata::kSmartReadLog, true, false, Direction::kIn},
    {0, false, false, Direction::kNone},
    {ata::kSmartWriteLog, true, false, Direction::kOut},
    {ata::kSmartReadData, false, true, Direction::kIn},
    {ata::kSmartReadThresholds, false, true, Direction::kIn},
};
constexpr uint32_t kFormCount = sizeof(kForms) / sizeof(kForms[0]);

}  // namespace

uint32_t SendSmartCommand(uint32_t vxHandle, uint32_t ssdHandle, uint32_t operation, uint32_t logSelect,
                          void* buffer, uint32_t length) {
  if (operation >= kFormCount) return 1;
  const SmartForm& form = kForms[operation];
  // The 8-bit sector count must describe the data phase exactly: a partial
  // sector or a count that wraps would move other bytes than the caller's.
  uint32_t sectors = length / kAtaSectorSize;
  if (length % kAtaSectorSize != 0 || sectors > ata::kMaxCount8) return 1;
  if (form.direction != Direction::kNone && (buffer == nullptr || sectors == 0)) return 1;

  SataPassthroughRequest request;
  PrepareAtaRequest(&request, ssdHandle, 0);
  if (form.direction == Direction::kIn) SetAtaDataIn(&request, buffer, length);
  if (form.direction == Direction::kOut) SetAtaDataOut(&request, buffer, length);
  uint8_t* fis = request.commandFis;
  fis[h2d_fis::kCommand] = ata::kSmart;
  fis[h2d_fis::kFeatures] = form.features;
  fis[h2d_fis::kLbaLow] = form.takesLog ? (logSelect == kSctCommandLog ? ata::kSctCommandLog : ata::kSctDataLog) : 0;
  fis[h2d_fis::kLbaMid] = ata::kSmartLbaMid;
  fis[h2d_fis::kLbaHigh] = ata::kSmartLbaHigh;
  fis[h2d_fis::kDevice] = form.forced ? h2d_fis::kDeviceForced : 0;
  fis[h2d_fis::kCount] = static_cast<uint8_t>(sectors);
  return SendRecordedAtaRequest(vxHandle, &request);
}

uint32_t SmartReadDataAlt(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length) {
  return SendSmartCommand(vxHandle, ssdHandle, kSmartReadData, 0, buffer, length);
}

uint32_t SmartReadDataForced(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length) {
  return SendSmartCommand(vxHandle, ssdHandle, kSmartReadDataForced, 0, buffer, length);
}

uint32_t SmartReadThresholds(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length) {
  return SendSmartCommand(vxHandle, ssdHandle, kSmartReadThresholds, 0, buffer, length);
}

uint32_t SmartReadThresholdsForced(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length) {
  return SendSmartCommand(vxHandle, ssdHandle, kSmartReadThresholdsForced, 0, buffer, length);
}
