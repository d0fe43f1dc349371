#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/devices/device_senders.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/sata_passthrough_frame.h"
#include "ctl/objects/object_tree.h"

namespace {

uint16_t PassthroughFlags(const SataPassthroughRequest& r) {
  uint16_t flags = 0;
  if (r.executeDiagnostic) flags |= sata_frame::kFlagExecuteDiagnostic;
  if (r.dma) flags |= sata_frame::kFlagDma;
  if (r.pio) flags |= sata_frame::kFlagPio;
  if (r.dataPhase == 0) {
    flags |= sata_frame::kFlagUnspecified;
  } else {
    if (r.write) flags |= sata_frame::kFlagWrite;
    if (r.read) flags |= sata_frame::kFlagRead;
  }
  return flags;
}

// The DevHandle of the target: a physical disk for kind 0x08, else a device.
LibStatus TargetDevHandle(LibContext* context, LibHandle handle, uint16_t* devHandle) {
  if (HandleKind(handle) == kKindPhysDisk) {
    PhysDiskRecord* disk = nullptr;
    LibStatus status = FindPhysDisk(context, &handle, &disk, nullptr, nullptr);
    if (status == kLibOk) *devHandle = PhysDiskDevHandle(disk);
    return status;
  }
  DeviceRecord* device = nullptr;
  LibStatus status = FindDevice(context, &handle, &device, nullptr);
  if (status == kLibOk) *devHandle = DeviceDevHandle(device);
  return status;
}

}  // namespace

LibStatus SataPassthrough(LibContext* context, const LibHandle* adapter, SataPassthroughRequest* request) {
  if (request == nullptr) return kLibBadParameter;
  if (request->size != kSataPassthroughSize) return kLibWrongRecordSize;
  if (adapter == nullptr) return kLibAdapterNotFound;
  uint16_t devHandle = 0;
  LibStatus status = TargetDevHandle(context, request->deviceHandle, &devHandle);
  if (status != kLibOk) return status;

  uint8_t frame[sata_frame::kRequestLength] = {};
  uint8_t reply[sata_reply::kSize] = {};
  PutLe16(frame, sata_frame::kDevHandle, devHandle);
  Put8(frame, sata_frame::kFunction, kFunctionSataPassthrough);
  PutLe16(frame, sata_frame::kPassthroughFlags, PassthroughFlags(*request));
  Put8(frame, sata_frame::kMsgFlags, 0);
  PutLe32(frame, sata_frame::kDataLength, std::max(request->dataOutLength, request->dataInLength));
  std::memcpy(frame + sata_frame::kCommandFis, request->commandFis, kFisSize);

  QmxRequestBlock block;
  PrepareRequestBlock(&block, *adapter);
  block.requestLength = sata_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = sata_reply::kSize;
  block.reply = AddressOf(reply);
  block.dataOutLength = request->dataOutLength;
  block.dataOut = request->dataOut;
  block.dataInLength = request->dataInLength;
  block.dataIn = request->dataIn;
  block.timeout = request->timeout;

  status = IssueRequest(context, &block);
  request->status = block.status;
  if (status != kLibOk) return status;
  // The reply's IOCStatus is the caller's to judge, from the status quad.
  request->sasStatus = Get8(reply, sata_reply::kSasStatus);
  request->statusControl = GetLe32(reply, sata_reply::kStatusControl);
  request->dataOutLength = GetLe32(reply, sata_reply::kTransferCount);
  std::memcpy(request->statusFis, reply + sata_reply::kStatusFis, kFisSize);
  return kLibOk;
}
