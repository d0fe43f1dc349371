#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/diag_buffer_bodies.h"
#include "ctl/ioc/ioc_requests.h"
#include "ctl/base/lib_buffer.h"

namespace {
uint32_t UniqueId(uint8_t bufferType) { return kDiagUniqueIdBase | bufferType; }
}  // namespace

LibStatus DiagBufferRegister(LibContext* context, const LibHandle* adapter, uint8_t bufferType,
                             uint8_t secondType, uint32_t size, uint32_t diagFlags,
                             const uint8_t* productData) {
  if (size < diag_register::kMinimumBufferSize || size % 4 != 0) return kLibDiagNoMemory;
  uint8_t body[diag_register::kSize] = {};
  Put8(body, diag_register::kSecondType, secondType);
  Put8(body, diag_register::kBufferType, bufferType);
  PutLe32(body, diag_register::kDiagFlags, diagFlags);
  if (productData != nullptr) {
    std::memcpy(body + diag_register::kProductData, productData, kDiagProductDataSize);
  }
  PutLe32(body, diag_register::kRequestedSize, size);
  PutLe32(body, diag_register::kUniqueId, UniqueId(bufferType));
  return DiagBufferIoctl(context, adapter, kDiagOpRegister, body, sizeof(body));
}

LibStatus DiagBufferQuery(LibContext* context, const LibHandle* adapter, uint8_t bufferType,
                          uint16_t* appFlags, uint32_t* totalSize) {
  uint8_t body[diag_query::kSize] = {};
  Put8(body, diag_query::kBufferType, bufferType);
  PutLe32(body, diag_query::kUniqueId, UniqueId(bufferType));
  LibStatus status = DiagBufferIoctl(context, adapter, kDiagOpQuery, body, sizeof(body));
  if (status != kLibOk) return status;
  if (appFlags != nullptr) *appFlags = GetLe16(body, diag_query::kAppFlags);
  if (totalSize != nullptr) *totalSize = GetLe32(body, diag_query::kTotalSize);
  return kLibOk;
}

LibStatus DiagBufferUnregister(LibContext* context, const LibHandle* adapter, uint8_t bufferType) {
  uint8_t body[diag_id_only::kSize] = {};
  PutLe32(body, diag_id_only::kUniqueId, UniqueId(bufferType));
  return DiagBufferIoctl(context, adapter, kDiagOpUnregister, body, sizeof(body));
}

LibStatus DiagBufferRelease(LibContext* context, const LibHandle* adapter, uint8_t bufferType) {
  uint8_t body[diag_id_only::kSize] = {};
  PutLe32(body, diag_id_only::kUniqueId, UniqueId(bufferType));
  return DiagBufferIoctl(context, adapter, kDiagOpRelease, body, sizeof(body));
}

LibStatus DiagBufferRead(LibContext* context, const LibHandle* adapter, uint8_t bufferType,
                         uint32_t* length, void* buffer) {
  if (buffer == nullptr || length == nullptr || *length == 0) return kLibDiagNoMemory;
  LibBuffer piece(context, diag_read::kHeadSize + kDiagReadPieceMax);
  if (!piece) return kLibNoMemory;
  uint8_t* p = piece.get();
  PutLe32(p, diag_read::kUniqueId, UniqueId(bufferType));
  auto* out = static_cast<uint8_t*>(buffer);
  LibStatus status = kLibOk;
  for (uint32_t offset = 0; offset < *length;) {
    uint32_t count = std::min(*length - offset, kDiagReadPieceMax);
    PutLe32(p, diag_read::kStartOffset, offset);
    PutLe32(p, diag_read::kBytesToRead, count);
    status = DiagBufferIoctl(context, adapter, kDiagOpRead, p, count + diag_read::kHeadSize);
    if (status != kLibOk) break;
    std::memcpy(out + offset, p + diag_read::kHeadSize, count);
    offset += count;
  }
  return status;
}
