#include "ctl/transport/driver_transport.h"

#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/frames/command_block.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/frames/message_reply.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/objects/object_tree.h"
#include "os/port.h"

void PrepareRequestBlock(QmxRequestBlock* block, LibHandle adapter) {
  std::memset(block, 0, sizeof(*block));
  block->size = kRequestBlockSize;
  block->adapterHandle = adapter;
  block->magic = kRequestBlockMagic;
}

LibStatus OpenAdapterNode(LibContext* context, const LibHandle* adapter, int* descriptor) {
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  int opened = os::ActivePort().OpenNode(record->nodePath, os::NodeAccess::kReadWrite);
  if (opened < 0) return kLibNodeOpenFailed;
  *descriptor = opened;
  return kLibOk;
}

LibStatus AdapterIoctl(LibContext* context, const LibHandle* adapter, void* block, uint32_t request) {
  int descriptor = -1;
  LibStatus status = OpenAdapterNode(context, adapter, &descriptor);
  if (status != kLibOk) return status;
  os::Port& port = os::ActivePort();
  int result = port.Ioctl(descriptor, request, block);
  port.CloseNode(descriptor);
  return result == 0 ? kLibOk : kLibIoctlFailed;
}

LibStatus IssueDriverCommand(LibContext* context, QmxRequestBlock* block) {
  if (block->size < kRequestBlockSize) return kLibBufferTooSmall;
  const uint8_t* frame = PointerAt<const uint8_t>(block->requestFrame);
  if (block->requestLength != 0 && frame == nullptr) return kLibBadParameter;
  if (block->requestLength > SIZE_MAX - command_block::kHeaderSize) return kLibBadParameter;

  LibBuffer buffer(context, command_block::kHeaderSize + block->requestLength);
  if (!buffer) return kLibNoMemory;
  uint8_t* b = buffer.get();
  if (block->requestLength != 0) std::memcpy(b + command_block::kFrame, frame, block->requestLength);
  PutLe32(b, command_block::kDataSgeOffset, block->requestLength / 4);
  PutLe64(b, command_block::kReplyAddress, block->reply);
  PutLe32(b, command_block::kMaxDataSize, command_block::kHeaderSize);
  PutLe32(b, command_block::kMaxReplyBytes, block->replyLength);

  AdapterRecord* adapter = nullptr;
  LibStatus status = FindAdapter(context, &block->adapterHandle, &adapter);
  if (status != kLibOk) return status;
  PutLe32(b, command_block::kIocNumber, IocNumber(adapter));
  PutLe32(b, command_block::kTimeout, block->timeout != 0 ? block->timeout : command_block::kDefaultTimeout);
  if (block->dataOutLength != 0) {
    PutLe64(b, command_block::kDataOutAddress, block->dataOut);
    PutLe32(b, command_block::kDataOutSize, block->dataOutLength);
  }
  if (block->dataInLength != 0) {
    PutLe64(b, command_block::kDataInAddress, block->dataIn);
    PutLe32(b, command_block::kDataInSize, block->dataInLength);
  }
  if (block->senseLength != 0) {
    PutLe64(b, command_block::kSenseAddress, block->sense);
    PutLe32(b, command_block::kMaxSenseBytes, block->senseLength);
  }
  return AdapterIoctl(context, &block->adapterHandle, b, kIoctlCommand);
}

LibStatus IssueRequest(LibContext* context, QmxRequestBlock* block) {
  LibStatus status = IssueDriverCommand(context, block);
  std::memset(&block->status, 0, sizeof(block->status));
  block->status.size = sizeof(IocStatusInfo);
  std::memset(&context->lastStatus, 0, sizeof(context->lastStatus));

  const uint8_t* reply = PointerAt<const uint8_t>(block->reply);
  if (status != kLibOk || block->magic != kRequestBlockMagic ||
      block->replyLength < message_reply::kMinimumSize || reply == nullptr) {
    return status;
  }
  uint16_t iocStatus = GetLe16(reply, message_reply::kIocStatus);
  if (iocStatus == 0) return status;
  block->status.validBits = kIocStatusValid;
  block->status.iocStatus = iocStatus & kIocStatusMask;
  if (iocStatus & kIocStatusLogInfoAvailable) {
    block->status.validBits |= kIocLogInfoValid;
    block->status.iocLogInfo = GetLe32(reply, message_reply::kIocLogInfo);
  }
  context->lastStatus = block->status;
  return status;
}
