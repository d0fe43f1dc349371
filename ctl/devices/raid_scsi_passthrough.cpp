// SCSI commands to RAID physical disks, which have no SCSI target of their
// own: the RAID SCSI IO passthrough, in the first- and second-generation
// variants.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/scsi_io_frame.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/objects/object_tree.h"
#include "ctl/devices/scsi_io.h"

namespace {


LibStatus SendRaidScsiIo(LibContext* context, const LibHandle* disk, ScsiPassthroughRequest* request,
                         bool returnIocStatus) {
  PhysDiskRecord* p = nullptr;
  AdapterRecord* adapter = nullptr;
  LibStatus status = FindPhysDisk(context, disk, &p, nullptr, &adapter);
  if (status != kLibOk) return status;
  if (request->cdbLength > scsi_io_frame::kCdbSize) return kLibBadParameter;
  if (request->dataLength != 0 && request->dataBuffer == 0) return kLibBadParameter;

  std::memset(request->sense, 0, sizeof(request->sense));
  LibBuffer frame(context, scsi_io_frame::kBufferSize);
  LibBuffer reply(context, scsi_io_reply::kSize);
  if (!frame || !reply) return kLibNoMemory;

  uint8_t* f = frame.get();
  PutLe16(f, scsi_io_frame::kDevHandle, PhysDiskDevHandle(p));
  Put8(f, scsi_io_frame::kFunction, kFunctionRaidScsiIo);
  PutLe32(f, scsi_io_frame::kSenseLowAddress, static_cast<uint32_t>(AddressOf(request->sense)));
  Put8(f, scsi_io_frame::kSenseLength, kScsiSenseSize);
  Put8(f, scsi_io_frame::kSgeOffset, scsi_io_frame::kSgeOffsetWords);
  PutLe32(f, scsi_io_frame::kDataLength, request->dataLength);
  PutLe16(f, scsi_io_frame::kIoFlags, request->cdbLength);
  PutLe32(f, scsi_io_frame::kControl,
          request->direction == kScsiDataOut ? scsi_io_frame::kControlWrite : scsi_io_frame::kControlRead);
  std::memcpy(f + scsi_io_frame::kCdb, request->cdb, request->cdbLength);

  QmxRequestBlock block;
  PrepareRequestBlock(&block, adapter->header.handle);
  block.requestLength = scsi_io_frame::kRequestLength;
  block.requestFrame = AddressOf(f);
  if (request->direction == kScsiDataOut) {
    block.dataOutLength = request->dataLength;
    block.dataOut = request->dataBuffer;
  } else {
    block.dataInLength = request->dataLength;
    block.dataIn = request->dataBuffer;
  }
  block.replyLength = scsi_io_reply::kSize;
  block.reply = AddressOf(reply.get());
  block.senseLength = kScsiSenseSize;
  block.sense = AddressOf(request->sense);
  block.timeout = request->timeout;

  status = IssueRequest(context, &block);
  if (status != kLibOk) return status;
  const uint8_t* r = reply.get();
  uint16_t iocStatus = GetLe16(r, scsi_io_reply::kIocStatus) & kIocStatusMask;
  bool done = iocStatus == 0 || iocStatus == kIocStatusScsiDataOverrun || iocStatus == kIocStatusScsiDataUnderrun;
  if (!done) return kLibFailure;
  if (returnIocStatus) {
    request->iocStatus = GetLe16(r, scsi_io_reply::kIocStatus);
    request->iocLogInfo = GetLe32(r, scsi_io_reply::kIocLogInfo);
  }
  // The message length (in words) tells how much of the reply the
  // controller wrote; only a reply of this function carries the status.
  uint32_t replyBytes = 4u * Get8(r, message_reply::kMessageLength);
  if (replyBytes >= message_reply::kMinimumSize && Get8(r, message_reply::kFunction) == kFunctionRaidScsiIo) {
    request->scsiStatus = Get8(r, scsi_io_reply::kScsiStatus);
  }
  return kLibOk;
}

}  // namespace

LibStatus RaidDiskScsiPassthrough(LibContext* context, const LibHandle* disk, ScsiPassthroughRequest* request) {
  if (request == nullptr) return kLibBadParameter;
  AdapterRecord* adapter = nullptr;
  LibStatus status = FindPhysDisk(context, disk, nullptr, nullptr, &adapter);
  if (status != kLibOk) return status;
  if (adapter->secondGeneration) return RaidDiskScsiPassthroughGen2(context, disk, request);
  return SendRaidScsiIo(context, disk, request, true);
}

LibStatus RaidDiskScsiPassthroughGen2(LibContext* context, const LibHandle* disk,
                                      ScsiPassthroughRequest* request) {
  if (request == nullptr) return kLibBadParameter;
  return SendRaidScsiIo(context, disk, request, false);
}
