// SCSI IO for adapters with second-generation frames: the same frame, data
// and sense as the first generation, without the caller's time-out.
#include "ctl/objects/object_tree.h"
#include "ctl/devices/scsi_io.h"
#include "ctl/devices/scsi_io_message.h"

LibStatus SendScsiIoGen2(LibContext* context, const LibHandle* device, ScsiPassthroughRequest* request) {
  DeviceRecord* d = nullptr;
  AdapterRecord* adapter = nullptr;
  LibStatus status = FindDevice(context, device, &d, &adapter);
  if (status != kLibOk) return status;
  return SendScsiIoMessage(context, d, adapter, request, ScsiIoGeneration::kSecond);
}
