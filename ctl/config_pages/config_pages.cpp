#include "ctl/config_pages/config_pages.h"

#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/message_reply.h"
#include "ctl/base/lib_buffer.h"

namespace {

LibStatus MapConfigStatus(uint16_t iocStatus) {
  switch (iocStatus & kIocStatusMask) {
    case kIocStatusConfigInvalidAction: return kLibConfigInvalidAction;
    case kIocStatusConfigInvalidType: return kLibConfigInvalidType;
    case kIocStatusConfigInvalidPage:
    case kIocStatusInvalidFunction: return kLibPageNotPresent;
    default: return kLibFailure;
  }
}

bool ReadsIntoBuffer(uint8_t action) {
  return action == kConfigActionReadCurrent || action == kConfigActionReadDefault ||
         action == kConfigActionReadNvram;
}

// The page header step shared by reads and writes.
LibStatus ReadPageHeader(LibContext* context, const LibHandle* adapter, uint32_t pageAddress,
                         uint8_t pageType, uint8_t pageNumber, uint8_t extType, uint8_t* header,
                         uint16_t* extLength) {
  if (pageType == kPageTypeExtended && extType == 0) return kLibBadParameter;
  std::memset(header, 0, page_header::kSize);
  header[page_header::kNumber] = pageNumber;
  header[page_header::kType] = pageType;
  *extLength = 0;
  return SendConfigRequest(context, adapter, kConfigActionHeader, header, pageAddress, extType,
                           extLength, nullptr, 0);
}

}  // namespace

LibStatus SendConfigRequest(LibContext* context, const LibHandle* adapter, uint8_t action,
                            uint8_t* header, uint32_t pageAddress, uint8_t extType,
                            uint16_t* extLength, void* data, uint32_t dataLength) {
  if (adapter == nullptr) return kLibAdapterNotFound;
  uint8_t frame[config_frame::kBufferSize] = {};
  uint8_t reply[config_reply::kSize] = {};

  QmxRequestBlock block;
  PrepareRequestBlock(&block, *adapter);
  block.requestLength = config_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.spare = config_frame::kRequestLength;
  if (action != kConfigActionHeader) {
    if (ReadsIntoBuffer(action)) {
      block.dataInLength = dataLength;
      block.dataIn = AddressOf(data);
    } else {
      block.dataOutLength = dataLength;
      block.dataOut = AddressOf(data);
    }
  }
  block.replyLength = config_reply::kSize;
  block.reply = AddressOf(reply);

  Put8(frame, config_frame::kAction, action);
  Put8(frame, config_frame::kFunction, kFunctionConfig);
  PutLe16(frame, config_frame::kExtPageLength, *extLength);
  Put8(frame, config_frame::kExtPageType, extType);
  std::memcpy(frame + config_frame::kPageHeader, header, page_header::kSize);
  PutLe32(frame, config_frame::kPageAddress, pageAddress);

  LibStatus status = IssueRequest(context, &block);
  if (status != kLibOk) return status;
  uint16_t iocStatus = GetLe16(reply, config_reply::kIocStatus);
  if (iocStatus != 0) return MapConfigStatus(iocStatus);
  std::memcpy(header, reply + config_reply::kPageHeader, page_header::kSize);
  *extLength = GetLe16(reply, config_reply::kExtPageLength);
  return kLibOk;
}

LibStatus ConfigPageReadCore(LibContext* context, const LibHandle* adapter, uint32_t pageAddress,
                             uint8_t pageType, uint8_t pageNumber, uint8_t extType, uint32_t readKind,
                             void* buffer, uint32_t* size) {
  if (size == nullptr) return kLibBadParameter;
  uint8_t header[page_header::kSize];
  uint16_t extLength = 0;
  LibStatus status = ReadPageHeader(context, adapter, pageAddress, pageType, pageNumber, extType,
                                    header, &extLength);
  if (status != kLibOk) return status;
  uint32_t pageSize = pageType == kPageTypeExtended ? 4u * extLength : 4u * header[page_header::kLength];

  if (readKind == kReadSizeOnly) {
    *size = pageSize;
    return kLibOk;
  }
  uint8_t action = 0;
  switch (readKind) {
    case kReadCurrent: action = kConfigActionReadCurrent; break;
    case kReadDefault: action = kConfigActionReadDefault; break;
    case kReadNvram: action = kConfigActionReadNvram; break;
    default: return kLibBadParameter;
  }
  if (buffer == nullptr || *size == 0) {
    *size = pageSize;
    return kLibBufferTooSmall;
  }
  LibBuffer page(context, pageSize);
  if (!page) return kLibNoMemory;
  status = SendConfigRequest(context, adapter, action, header, pageAddress, extType, &extLength,
                             page.get(), pageSize);
  if (status != kLibOk) return status;
  std::memcpy(buffer, page.get(), std::min(*size, pageSize));
  *size = pageSize;
  return kLibOk;
}

LibStatus ConfigPageWriteCore(LibContext* context, const LibHandle* adapter, uint32_t pageAddress,
                              uint8_t pageType, uint8_t pageNumber, uint8_t extType, uint32_t writeKind,
                              const void* buffer, uint32_t* size) {
  if (size == nullptr || (buffer == nullptr && *size != 0)) return kLibBadParameter;
  uint8_t header[page_header::kSize];
  uint16_t extLength = 0;
  LibStatus status = ReadPageHeader(context, adapter, pageAddress, pageType, pageNumber, extType,
                                    header, &extLength);
  if (status != kLibOk) return status;
  uint8_t action = 0;
  switch (writeKind) {
    case kWriteCurrent: action = kConfigActionWriteCurrent; break;
    case kWriteDefault: action = kConfigActionWriteDefault; break;
    case kWriteNvram: action = kConfigActionWriteNvram; break;
    default: return kLibBadParameter;
  }
  return SendConfigRequest(context, adapter, action, header, pageAddress, extType, &extLength,
                           const_cast<void*>(buffer), *size);
}
