// SCSI FORMAT UNIT to a module.
#include "cardlib/layouts/scsi_cdbs.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/entry/os_wrappers.h"
#include "cardlib/scsi/scsi_request.h"

uint32_t SendSSDVendorScsiCmd(uint32_t deviceHandle, uint32_t parameterList) {
  ScsiPassthroughRequest request;
  PrepareScsiRequest(&request, format_unit_cdb::kCdbLength, kModuleScsiTimeoutSeconds);
  request.cdb[0] = format_unit_cdb::kOperation;
  uint8_t list[format_unit_list::kSize];
  ZkCopy(list, format_unit_list::kBytes, sizeof(list));
  if (parameterList != 0) {
    // The list reaches the device only as data-out announced by FMTDATA.
    request.cdb[format_unit_cdb::kFlags] = format_unit_cdb::kFormatData;
    request.direction = kScsiDataOut;
    request.dataLength = sizeof(list);
    request.dataBuffer = AddressOf(list);
  }
  ScsiOutcome outcome = SendModuleScsi(deviceHandle, &request);
  if (outcome.passthrough == kLibOk) return outcome.scsiStatus == 0 ? 0 : 1;
  return outcome.iocStatus != 0 ? 1 : outcome.passthrough;
}

uint32_t LibZKSSDScsiCommand(uint32_t deviceHandle, uint32_t parameterList) {
  return SendSSDVendorScsiCmd(deviceHandle, parameterList);
}
