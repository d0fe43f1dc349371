// Small steps that the request senders share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/base/context.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/objects/object_tree.h"

// Copies a reply out by the reply convention of ctl/ioc/ioc_requests.h.
inline void CopyReplyOut(void* out, uint32_t* outSize, const uint8_t* reply, uint32_t replySize,
                         bool succeeded) {
  if (outSize == nullptr) return;
  if (!succeeded || out == nullptr) {
    *outSize = 0;
    return;
  }
  uint32_t copied = std::min(*outSize, replySize);
  std::memcpy(out, reply, copied);
  *outSize = copied;
}

inline void CopyStatusOut(IocStatusInfo* out, const QmxRequestBlock& block) {
  if (out != nullptr) *out = block.status;
}

inline uint16_t MessageVersion(const AdapterRecord* adapter) {
  return GetLe16(adapter->iocFacts, ioc_facts_reply::kMessageVersion);
}

// Looks the adapter up and refuses adapters whose message version is below
// 0x0200 with 96.
inline LibStatus CheckMessageVersion(LibContext* context, const LibHandle* adapter, AdapterRecord** out) {
  LibStatus status = FindAdapter(context, adapter, out);
  if (status != kLibOk) return status;
  return MessageVersion(*out) < kMinimumMessageVersion ? kLibMessageVersionTooLow : kLibOk;
}
