#include "cardlib/scsi/log_sense.h"

#include "cardlib/layouts/scsi_cdbs.h"
#include "cardlib/entry/os_wrappers.h"
#include "cardlib/scsi/scsi_request.h"

namespace {
constexpr uint32_t kIocStatusDataUnderrun = 0x45;
constexpr uint32_t kLogPageRequest = 1;
}  // namespace

uint32_t ReadLogSensePage(uint32_t deviceHandle, uint8_t pageCode, uint8_t* buffer, uint16_t allocation) {
  ZkFill(buffer, 0, allocation);
  ScsiPassthroughRequest request;
  PrepareScsiRequest(&request, log_sense_cdb::kCdbLength, 0);
  request.requestFlag = kLogPageRequest;
  request.cdb[0] = log_sense_cdb::kOperation;
  request.cdb[log_sense_cdb::kPage] = static_cast<uint8_t>(log_sense_cdb::kCumulativeValues | (pageCode & 0x3F));
  request.cdb[log_sense_cdb::kAllocation] = static_cast<uint8_t>(allocation >> 8);
  request.cdb[log_sense_cdb::kAllocation + 1] = static_cast<uint8_t>(allocation);
  request.direction = kScsiDataIn;
  request.dataLength = allocation;
  request.dataBuffer = AddressOf(buffer);
  ScsiOutcome outcome = SendModuleScsi(deviceHandle, &request);
  if (outcome.passthrough != kLibOk) return 1;
  if (outcome.iocStatus != 0 && outcome.iocStatus != kIocStatusDataUnderrun) return 1;
  return outcome.scsiStatus == 0 ? 0 : 1;
}
