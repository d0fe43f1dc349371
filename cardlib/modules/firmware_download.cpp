// Module firmware: ATA DOWNLOAD MICROCODE of the whole image, or SCSI WRITE
// BUFFER for a module that speaks SAS.
#include "cardlib/layouts/scsi_cdbs.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/modules/module_handles.h"
#include "cardlib/entry/os_wrappers.h"
#include "cardlib/scsi/scsi_request.h"
#include "ctl/facade/qmx.h"

namespace {

// The card and the module in the slot; 0 or 1.
uint32_t ResolveModule(uint32_t adapterIndex, uint8_t moduleIndex, uint32_t* vx, uint32_t* ssd) {
  if (LibZKGetVXHandle(adapterIndex, vx) != 0) return 1;
  return LibZKGetSSDHandle(*vx, moduleIndex, ssd);
}

void PutBe24(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value >> 16);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value);
}

}  // namespace

uint32_t LibZKSSDDownloadFirmware(uint32_t adapterIndex, uint8_t moduleIndex, const void* image, uint32_t length,
                                  uint8_t mode) {
  uint32_t row = 0;
  if (mode == kFirmwareModeDownload) row = kAtaRowDownloadMicrocode;
  else if (mode == kFirmwareModeDownloadAndSave) row = kAtaRowDownloadMicrocodeSave;
  else return 1;
  uint32_t vx = 0;
  uint32_t ssd = kNoModuleHandle;
  if (ResolveModule(adapterIndex, moduleIndex, &vx, &ssd) != 0) return 1;
  // The download is addressed by the adapter's handle as its block has it
  // now; a block that cannot be read names no adapter to send it to.
  AdapterInfoBlock adapter;
  ZkFill(&adapter, 0, sizeof(adapter));
  uint32_t size = sizeof(adapter);
  if (QmxGetAdapterInfo(adapterIndex, nullptr, &adapter, &size) != kLibOk) return 1;
  return SendSSDAtaData(adapter.adapterHandle, ssd, image, length, row);
}

uint32_t LibZKSSDDownloadFirmwareScsi(uint32_t adapterIndex, uint8_t moduleIndex, const void* image,
                                      uint32_t length) {
  // The parameter list length has 24 bits; an empty download saves nothing.
  if (image == nullptr || length == 0 || length > write_buffer_cdb::kMaxLength) return 1;
  uint32_t vx = 0;
  uint32_t ssd = kNoModuleHandle;
  if (ResolveModule(adapterIndex, moduleIndex, &vx, &ssd) != 0) return 1;
  ScsiPassthroughRequest request;
  PrepareScsiRequest(&request, write_buffer_cdb::kCdbLength, kModuleScsiTimeoutSeconds);
  request.cdb[0] = write_buffer_cdb::kOperation;
  request.cdb[write_buffer_cdb::kMode] = write_buffer_cdb::kModeDownloadAndSave;
  PutBe24(request.cdb + write_buffer_cdb::kLength, length);
  request.direction = kScsiDataOut;
  request.dataLength = length;
  request.dataBuffer = AddressOf(image);
  ScsiOutcome outcome = SendModuleScsi(ssd, &request);
  return outcome.passthrough == kLibOk && outcome.iocStatus == 0 && outcome.scsiStatus == 0 ? 0 : 1;
}
