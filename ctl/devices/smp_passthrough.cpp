#include "ctl/base/byte_order.h"
#include "ctl/devices/device_senders.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/smp_passthrough_frame.h"
#include "ctl/base/lib_buffer.h"

LibStatus SmpPassthrough(LibContext* context, const LibHandle* adapter, SmpPassthroughRequest* request) {
  if (request == nullptr) return kLibBadParameter;
  if (request->size != kSmpPassthroughSize) return kLibWrongRecordSize;
  if (adapter == nullptr) return kLibAdapterNotFound;
  // The lengths come from the caller: the CRC is not sent, so a request
  // shorter than it would wrap, and neither length may leave its area.
  if (request->requestLength < kSmpCrcSize || request->requestLength > kSmpRequestAreaSize ||
      request->responseSize > kSmpResponseAreaSize) {
    return kLibBadParameter;
  }
  LibBuffer frame(context, smp_frame::kBufferSize);
  LibBuffer reply(context, smp_reply::kBufferSize);
  if (!frame || !reply) return kLibNoMemory;

  uint8_t* f = frame.get();
  Put8(f, smp_frame::kPassthroughFlags, 0);
  Put8(f, smp_frame::kPhysicalPort, smp_frame::kAnyPort);
  Put8(f, smp_frame::kFunction, kFunctionSmpPassthrough);
  PutLe64(f, smp_frame::kSasAddress, request->sasAddress);

  QmxRequestBlock block;
  PrepareRequestBlock(&block, *adapter);
  block.requestLength = smp_frame::kRequestLength;
  block.requestFrame = AddressOf(f);
  block.dataOutLength = request->requestLength - kSmpCrcSize;
  block.dataOut = AddressOf(request->request);
  block.dataInLength = request->responseSize;
  block.dataIn = AddressOf(request->response);
  block.replyLength = smp_reply::kSize;
  block.reply = AddressOf(reply.get());

  LibStatus status = IssueRequest(context, &block);
  request->status = block.status;
  if (status != kLibOk) return status;
  request->responseSize = GetLe16(reply.get(), smp_reply::kResponseLength);
  request->sasStatus = Get8(reply.get(), smp_reply::kSasStatus);
  return kLibOk;
}
