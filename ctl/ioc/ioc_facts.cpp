#include "ctl/transport/driver_transport.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/frames/message_reply.h"
#include "ctl/ioc/ioc_requests.h"
#include "ctl/base/request_helpers.h"

namespace {

LibStatus SendFactsRequest(LibContext* context, const LibHandle* adapter, uint8_t* frame,
                           uint32_t frameLength, uint8_t* reply, uint32_t replySize, void* out,
                           uint32_t* outSize, IocStatusInfo* status) {
  if (adapter == nullptr) return kLibAdapterNotFound;
  QmxRequestBlock block;
  PrepareRequestBlock(&block, *adapter);
  block.requestLength = frameLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = replySize;
  block.reply = AddressOf(reply);
  LibStatus result = IssueRequest(context, &block);
  CopyStatusOut(status, block);
  CopyReplyOut(out, outSize, reply, replySize, result == kLibOk);
  return result;
}

}  // namespace

LibStatus SendIocFactsRequest(LibContext* context, const LibHandle* adapter, void* reply,
                              uint32_t* size, IocStatusInfo* status) {
  uint8_t frame[ioc_facts_frame::kRequestLength] = {};
  uint8_t answer[ioc_facts_reply::kSize] = {};
  Put8(frame, ioc_facts_frame::kFunction, kFunctionIocFacts);
  return SendFactsRequest(context, adapter, frame, sizeof(frame), answer, sizeof(answer), reply, size,
                          status);
}

LibStatus SendPortFactsRequest(LibContext* context, const LibHandle* adapter, uint8_t port, void* reply,
                               uint32_t* size, IocStatusInfo* status) {
  uint8_t frame[port_facts_frame::kRequestLength] = {};
  uint8_t answer[port_facts_reply::kSize] = {};
  Put8(frame, port_facts_frame::kFunction, kFunctionPortFacts);
  Put8(frame, port_facts_frame::kPortNumber, port);
  return SendFactsRequest(context, adapter, frame, sizeof(frame), answer, sizeof(answer), reply, size,
                          status);
}
