#include "app/images/image_transfer.h"

void ClearTransferStatus(uint16_t* iocStatus, uint32_t* iocLogInfo) {
  if (iocStatus != nullptr) *iocStatus = 0;
  if (iocLogInfo != nullptr) *iocLogInfo = 0;
}

uint32_t TakeTransferStatus(LibStatus result, const IocStatusInfo& status, uint16_t* iocStatus,
                            uint32_t* iocLogInfo) {
  if (result != kLibOk) return 0;
  uint32_t ok = 1;
  if ((status.validBits & kIocStatusValid) != 0) {
    if (iocStatus != nullptr) *iocStatus = static_cast<uint16_t>(status.iocStatus);
    if (status.iocStatus != 0) ok = 0;
  }
  if ((status.validBits & kIocLogInfoValid) != 0 && iocLogInfo != nullptr) *iocLogInfo = status.iocLogInfo;
  return ok;
}
