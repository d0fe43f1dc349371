#include "app/card/config_page_wrappers.h"

#include "app/card/config_page_layouts.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

void ClearStatus(uint16_t* iocStatus, uint32_t* iocLogInfo) {
  if (iocStatus != nullptr) *iocStatus = 0;
  if (iocLogInfo != nullptr) *iocLogInfo = 0;
}

// Fills the outputs from the last request status and answers its IOCStatus.
uint32_t TakeStatus(uint16_t* iocStatus, uint32_t* iocLogInfo) {
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  if ((last.validBits & kIocStatusValid) != 0 && iocStatus != nullptr) {
    *iocStatus = static_cast<uint16_t>(last.iocStatus);
  }
  if ((last.validBits & kIocLogInfoValid) != 0 && iocLogInfo != nullptr) *iocLogInfo = last.iocLogInfo;
  return last.iocStatus;
}

}  // namespace

uint32_t GetCfgPage(uint32_t adapter, uint8_t pageType, uint8_t pageNumber, uint8_t extType, uint32_t size,
                    uint8_t action, void* buffer, uint32_t pageAddress, uint16_t* iocStatus,
                    uint32_t* iocLogInfo, uint32_t* pageSize) {
  ClearStatus(iocStatus, iocLogInfo);
  if (pageSize != nullptr) *pageSize = 0;
  uint32_t readKind = 0;
  switch (action) {
    case kConfigActionReadCurrent: readKind = kReadCurrent; break;
    case kConfigActionReadDefault: readKind = kReadDefault; break;
    case kConfigActionReadNvram: readKind = kReadNvram; break;
    default: return 0;
  }
  LibHandle handle = adapter;
  uint32_t got = size;
  LibStatus status = ReadConfigPage(&handle, pageAddress, pageType, pageNumber, extType, readKind, buffer, &got);
  uint32_t controllerStatus = TakeStatus(iocStatus, iocLogInfo);
  if (status != kLibOk || controllerStatus != 0) return 0;
  if (pageSize != nullptr) *pageSize = got < size ? got : size;
  return 1;
}

uint32_t SetCfgPage(uint32_t adapter, uint8_t action, uint32_t pageAddress, const void* page,
                    uint16_t* iocStatus, uint32_t* iocLogInfo) {
  ClearStatus(iocStatus, iocLogInfo);
  uint32_t writeKind = 0;
  switch (action) {
    case kConfigActionWriteCurrent: writeKind = kWriteCurrent; break;
    case kConfigActionWriteNvram: writeKind = kWriteNvram; break;
    default: return 0;
  }
  if (page == nullptr) return 0;
  uint8_t type = Get8(page, page_header::kType);
  uint8_t number = Get8(page, page_header::kNumber);
  uint8_t extType = 0;
  uint32_t length = 4u * Get8(page, page_header::kLength);
  // An extended page announces its length in the extended header; its
  // length byte is 0.
  if (type == kPageTypeExtended) {
    extType = Get8(page, page_header::kExtType);
    length = 4u * GetLe16(page, page_header::kExtLength);
  }
  LibHandle handle = adapter;
  LibStatus status = WriteConfigPage(&handle, pageAddress, type, number, extType, writeKind, page, &length);
  uint32_t controllerStatus = TakeStatus(iocStatus, iocLogInfo);
  return status == kLibOk && controllerStatus == 0 ? 1 : 0;
}

uint32_t WriteMfgPage(uint32_t adapter, const void* page, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  return SetCfgPage(adapter, kConfigActionWriteNvram, 0, page, iocStatus, iocLogInfo);
}

uint32_t GetCfgPageHeader(uint32_t adapter, uint8_t pageType, uint8_t pageNumber, uint8_t extType,
                          uint32_t pageAddress, uint16_t* length, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  ClearStatus(iocStatus, iocLogInfo);
  LibHandle handle = adapter;
  uint32_t size = 0;
  LibStatus status =
      ReadConfigPage(&handle, pageAddress, pageType, pageNumber, extType, kReadSizeOnly, nullptr, &size);
  uint32_t controllerStatus = TakeStatus(iocStatus, iocLogInfo);
  if (status != kLibOk || controllerStatus != 0) return 0;
  if (length != nullptr) *length = static_cast<uint16_t>(size);
  return 1;
}
