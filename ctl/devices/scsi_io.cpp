#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/scsi_io_frame.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/objects/object_tree.h"
#include "ctl/devices/scsi_io.h"
#include "ctl/devices/scsi_io_message.h"

LibStatus SendScsiIo(LibContext* context, const LibHandle* device, ScsiPassthroughRequest* request) {
  DeviceRecord* d = nullptr;
  AdapterRecord* adapter = nullptr;
  LibStatus status = FindDevice(context, device, &d, &adapter);
  if (status != kLibOk) return status;
  if (adapter->secondGeneration) return SendScsiIoGen2(context, device, request);
  return SendScsiIoMessage(context, d, adapter, request, ScsiIoGeneration::kFirst);
}

LibStatus SendScsiIoMessage(LibContext* context, DeviceRecord* d, AdapterRecord* adapter,
                            ScsiPassthroughRequest* request, ScsiIoGeneration generation) {
  bool first = generation == ScsiIoGeneration::kFirst;
  // The frame's CDB field holds 32 bytes; a longer CDB would run past it.
  if (request->cdbLength > scsi_io_frame::kCdbSize) return kLibBadParameter;
  if (request->dataLength != 0 && request->dataBuffer == 0) return kLibBadParameter;

  LibBuffer frame(context, scsi_io_frame::kBufferSize);
  LibBuffer reply(context, scsi_io_reply::kSize);
  if (!frame || !reply) return kLibNoMemory;

  // Sense left from an earlier command would otherwise count as this one's.
  std::memset(request->sense, 0, sizeof(request->sense));

  bool hasData = request->dataLength != 0;
  uint32_t control = 0;
  if (hasData && request->direction == kScsiDataIn) control = scsi_io_frame::kControlRead;
  if (hasData && request->direction == kScsiDataOut) control = scsi_io_frame::kControlWrite;

  uint8_t* f = frame.get();
  PutLe16(f, scsi_io_frame::kDevHandle, DeviceDevHandle(d));
  Put8(f, scsi_io_frame::kFunction, kFunctionScsiIo);
  PutLe32(f, scsi_io_frame::kSenseLowAddress, static_cast<uint32_t>(AddressOf(request->sense)));
  Put8(f, scsi_io_frame::kSenseLength, kScsiSenseSize);
  Put8(f, scsi_io_frame::kSgeOffset, scsi_io_frame::kSgeOffsetWords);
  PutLe32(f, scsi_io_frame::kDataLength, request->dataLength);
  PutLe16(f, scsi_io_frame::kIoFlags, request->cdbLength);
  Put8(f, scsi_io_frame::kLun, d->lun);
  PutLe32(f, scsi_io_frame::kControl, control);
  std::memcpy(f + scsi_io_frame::kCdb, request->cdb, request->cdbLength);

  QmxRequestBlock block;
  PrepareRequestBlock(&block, adapter->header.handle);
  block.requestLength = scsi_io_frame::kRequestLength;
  block.requestFrame = AddressOf(f);
  if (request->direction == kScsiDataIn) {
    block.dataInLength = request->dataLength;
    block.dataIn = request->dataBuffer;
  } else if (request->direction == kScsiDataOut) {
    block.dataOutLength = request->dataLength;
    block.dataOut = request->dataBuffer;
  }
  block.replyLength = scsi_io_reply::kSize;
  block.reply = AddressOf(reply.get());
  block.senseLength = kScsiSenseSize;
  block.sense = AddressOf(request->sense);
  block.timeout = first ? request->timeout : 0;

  LibStatus status = IssueRequest(context, &block);
  const uint8_t* r = reply.get();
  if (status == kLibOk) {
    uint16_t iocStatus = GetLe16(r, scsi_io_reply::kIocStatus) & 0x7FFF;
    bool done = iocStatus == 0 || iocStatus == kIocStatusScsiDataOverrun ||
                iocStatus == kIocStatusScsiDataUnderrun;
    status = done ? kLibOk : kLibFailure;
  }
  if (!first) {
    if (status == kLibOk) request->scsiStatus = Get8(r, scsi_io_reply::kScsiStatus);
    return status;
  }
  request->iocStatus = GetLe16(r, scsi_io_reply::kIocStatus);
  request->iocLogInfo = GetLe32(r, scsi_io_reply::kIocLogInfo);
  request->scsiStatus = Get8(r, scsi_io_reply::kScsiStatus);
  return status;
}
