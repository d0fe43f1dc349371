#include "ctl/facade/facade_context.h"
#include "ctl/ioc/ioc_requests.h"
#include "ctl/facade/qmx.h"

LibStatus QmxGetIocFacts(const LibHandle* adapter, void* reply, uint32_t* size, IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SendIocFactsRequest(context, adapter, reply, size, status);
}

LibStatus QmxGetPortFacts(const LibHandle* adapter, uint8_t port, void* reply, uint32_t* size,
                          IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return SendPortFactsRequest(context, adapter, port, reply, size, status);
}

LibStatus QmxFirmwareDownload(const LibHandle* adapter, const void* piece, uint32_t size, uint32_t offset,
                              uint8_t imageType, uint32_t last, void* reply, uint32_t* replySize,
                              IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return FirmwareDownload(context, adapter, piece, size, offset, imageType, last, reply, replySize, status);
}

LibStatus QmxFirmwareUpload(const LibHandle* adapter, void* piece, uint32_t size, uint32_t offset,
                            uint8_t imageType, void* reply, uint32_t* replySize, IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return FirmwareUpload(context, adapter, piece, size, offset, imageType, reply, replySize, status);
}

LibStatus QmxToolboxClean(const LibHandle* adapter, uint32_t flags, void* reply, IocStatusInfo* status) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ToolboxClean(context, adapter, flags, reply, status);
}

LibStatus QmxToolboxIstwi(const LibHandle* adapter, IstwiRecord* record, void* reply) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ToolboxIstwiRead(context, adapter, record, reply);
}

LibStatus QmxDiagBufferRegister(const LibHandle* adapter, uint8_t bufferType, uint8_t secondType, uint32_t size,
                                uint32_t diagFlags, const uint8_t* productData) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return DiagBufferRegister(context, adapter, bufferType, secondType, size, diagFlags, productData);
}

LibStatus QmxDiagBufferQuery(const LibHandle* adapter, uint8_t bufferType, uint16_t* appFlags,
                             uint32_t* totalSize) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return DiagBufferQuery(context, adapter, bufferType, appFlags, totalSize);
}

LibStatus QmxDiagBufferUnregister(const LibHandle* adapter, uint8_t bufferType) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return DiagBufferUnregister(context, adapter, bufferType);
}

LibStatus QmxDiagBufferRelease(const LibHandle* adapter, uint8_t bufferType) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return DiagBufferRelease(context, adapter, bufferType);
}

LibStatus QmxDiagBufferRead(const LibHandle* adapter, uint8_t bufferType, uint32_t* length, void* buffer) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return DiagBufferRead(context, adapter, bufferType, length, buffer);
}

LibStatus QmxReadRomVersion(const LibHandle* adapter, uint32_t* version) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ReadRomVersion(context, adapter, version);
}

uint32_t QmxRomImageVersion(const uint8_t* image, size_t length) { return RomImageVersion(image, length); }
