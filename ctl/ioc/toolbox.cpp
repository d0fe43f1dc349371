#include "ctl/transport/driver_transport.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/toolbox_frames.h"
#include "ctl/ioc/ioc_requests.h"
#include "ctl/base/request_helpers.h"

LibStatus ToolboxClean(LibContext* context, const LibHandle* adapter, uint32_t flags, void* reply,
                       IocStatusInfo* status) {
  AdapterRecord* record = nullptr;
  LibStatus gate = CheckMessageVersion(context, adapter, &record);
  if (gate != kLibOk) return gate;
  if (flags != kToolboxCleanFlagsAllowed) return kLibNotSupported;

  uint8_t frame[toolbox_clean_frame::kRequestLength] = {};
  uint8_t answer[toolbox_clean_reply::kSize] = {};
  Put8(frame, toolbox_clean_frame::kTool, kToolClean);
  Put8(frame, toolbox_clean_frame::kFunction, kFunctionToolbox);
  PutLe32(frame, toolbox_clean_frame::kFlags, flags);

  QmxRequestBlock block;
  PrepareRequestBlock(&block, record->header.handle);
  block.requestLength = sizeof(frame);
  block.requestFrame = AddressOf(frame);
  block.replyLength = sizeof(answer);
  block.reply = AddressOf(answer);
  block.timeout = kToolboxTimeout;
  LibStatus result = IssueRequest(context, &block);
  if (reply != nullptr) std::memcpy(reply, answer, sizeof(answer));
  CopyStatusOut(status, block);
  return result;
}

LibStatus ToolboxIstwiRead(LibContext* context, const LibHandle* adapter, IstwiRecord* record, void* reply) {
  AdapterRecord* a = nullptr;
  LibStatus gate = CheckMessageVersion(context, adapter, &a);
  if (gate != kLibOk) return gate;
  if (record == nullptr) return kLibBadParameter;
  if ((record->transmitLength != 0 && record->transmitBuffer == 0) ||
      (record->receiveLength != 0 && record->receiveBuffer == 0)) {
    return kLibBadParameter;
  }

  uint8_t frame[toolbox_istwi_frame::kRequestLength] = {};
  uint8_t answer[toolbox_istwi_reply::kSize] = {};
  Put8(frame, toolbox_istwi_frame::kTool, kToolIstwi);
  Put8(frame, toolbox_istwi_frame::kFunction, kFunctionToolbox);
  Put8(frame, toolbox_istwi_frame::kDeviceIndex, record->deviceIndex);
  Put8(frame, toolbox_istwi_frame::kAction, record->action);
  PutLe16(frame, toolbox_istwi_frame::kTransmitLength, record->transmitLength);
  PutLe16(frame, toolbox_istwi_frame::kReceiveLength, record->receiveLength);

  QmxRequestBlock block;
  PrepareRequestBlock(&block, a->header.handle);
  block.requestLength = sizeof(frame);
  block.requestFrame = AddressOf(frame);
  block.spare = toolbox_istwi_frame::kSpareWord;
  block.dataOutLength = record->transmitLength;
  block.dataOut = record->transmitBuffer;
  block.dataInLength = record->receiveLength;
  block.dataIn = record->receiveBuffer;
  block.replyLength = sizeof(answer);
  block.reply = AddressOf(answer);
  block.timeout = kToolboxTimeout;
  LibStatus result = IssueRequest(context, &block);
  if (reply != nullptr) std::memcpy(reply, answer, sizeof(answer));
  return result;
}
