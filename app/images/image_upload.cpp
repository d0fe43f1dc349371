#include "app/images/image_upload.h"

#include <utility>

#include "app/shell/console.h"
#include "app/images/image_transfer.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

uint32_t UploadImageChunk(uint32_t adapter, uint8_t imageType, void* buffer, uint32_t length, uint32_t offset,
                          uint32_t* imageSize, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  ClearTransferStatus(iocStatus, iocLogInfo);
  LibHandle handle = adapter;
  uint8_t reply[kUploadReplySize] = {};
  uint32_t replySize = sizeof reply;
  IocStatusInfo status{};
  LibStatus result =
      QmxFirmwareUpload(&handle, buffer, length, offset, imageType, reply, &replySize, &status);
  uint32_t ok = TakeTransferStatus(result, status, iocStatus, iocLogInfo);
  if (result != kLibOk) return 0;
  // A reply that stops short of the size word does not tell the size.
  if (replySize < kUploadReplySize || 4u * Get8(reply, kReplyMessageLength) < kUploadReplySize) return 0;
  if (imageSize != nullptr) *imageSize = GetLe32(reply, kUploadReplyImageSize);
  return ok;
}

uint32_t UploadFlashImage(uint32_t adapter, uint8_t imageType, AppBuffer* buffer, uint32_t* size,
                          uint32_t startOffset, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  ClearTransferStatus(iocStatus, iocLogInfo);
  *buffer = AppBuffer();
  *size = 0;
  uint32_t imageSize = 0;
  if (!UploadImageChunk(adapter, imageType, nullptr, 0, startOffset, &imageSize, iocStatus, iocLogInfo)) {
    ConsoleDiagnostic("\tERROR: Failed to Upload Image!\n");
    return 0;
  }
  if (imageSize == 0) return 1;
  AppBuffer image(imageSize);
  if (!image) {
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 0;
  }
  // The buffer holds the size first reported: an image whose size changes
  // on the way is not the one the buffer was made for.
  for (uint32_t offset = startOffset; offset < imageSize;) {
    uint32_t chunk = imageSize - offset < kUploadChunkSize ? imageSize - offset : kUploadChunkSize;
    uint32_t reported = 0;
    if (!UploadImageChunk(adapter, imageType, image.get() + (offset - startOffset), chunk, offset, &reported,
                          iocStatus, iocLogInfo) ||
        reported != imageSize) {
      return 0;
    }
    offset += chunk;
  }
  *buffer = std::move(image);
  *size = imageSize;
  return 1;
}

uint32_t UploadImageBuffer(uint32_t adapter, uint8_t imageType, AppBuffer* buffer, uint32_t* size,
                           uint32_t offset, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  ClearTransferStatus(iocStatus, iocLogInfo);
  *buffer = AppBuffer();
  AppBuffer head(kImageHeadSize);
  if (!head) {
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 0;
  }
  uint32_t imageSize = 0;
  if (!UploadImageChunk(adapter, imageType, head.get(), kImageHeadSize, offset, &imageSize, iocStatus, iocLogInfo)) {
    return 0;
  }
  *buffer = std::move(head);
  *size = imageSize;
  return 1;
}
