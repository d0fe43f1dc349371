// Reading a module's log: SMART READ LOG, or READ LOG EXT for long logs.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/ata/ata_request.h"
#include "cardlib/layouts/register_fis.h"

uint32_t ReadAtaLog(uint32_t vxHandle, uint32_t ssdHandle, uint8_t logAddress, uint32_t sectorCount,
                    void* buffer, uint32_t bufferLength, uint16_t logPage) {
  if (buffer == nullptr || sectorCount == 0 || sectorCount > ata::kMaxCount16) return 1;
  if (static_cast<uint64_t>(sectorCount) * kAtaSectorSize > bufferLength) return 1;

  SataPassthroughRequest request;
  PrepareAtaRequest(&request, ssdHandle, 0);
  SetAtaDataIn(&request, buffer, bufferLength);
  uint8_t* fis = request.commandFis;
  fis[h2d_fis::kLbaLow] = logAddress;
  if (sectorCount > ata::kMaxCount8) {
    fis[h2d_fis::kCommand] = ata::kReadLogExt;
    fis[h2d_fis::kLbaMid] = static_cast<uint8_t>(logPage);
    fis[h2d_fis::kLbaBits32] = static_cast<uint8_t>(logPage >> 8);
    fis[h2d_fis::kCount] = static_cast<uint8_t>(sectorCount);
    fis[h2d_fis::kCountHigh] = static_cast<uint8_t>(sectorCount >> 8);
  } else {
    fis[h2d_fis::kCommand] = ata::kSmart;
    fis[h2d_fis::kFeatures] = ata::kSmartReadLog;
    fis[h2d_fis::kLbaMid] = ata::kSmartLbaMid;
    fis[h2d_fis::kLbaHigh] = ata::kSmartLbaHigh;
    fis[h2d_fis::kCount] = static_cast<uint8_t>(sectorCount);
  }
  return SendRecordedAtaRequest(vxHandle, &request);
}
