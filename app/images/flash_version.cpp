#include "app/images/flash_version.h"

#include "app/images/image_transfer.h"
#include "app/images/image_upload.h"
#include "app/images/rom_image_version.h"
#include "ctl/base/byte_order.h"

uint32_t GetFlashBiosVersion(uint32_t adapter, uint32_t* version, uint8_t imageType, uint8_t codeType) {
  AppBuffer image;
  uint32_t size = 0;
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  uint32_t result = UploadFlashImage(adapter, imageType, &image, &size, 0, &iocStatus, &iocLogInfo);
  if (result == 1 && version != nullptr) {
    if (imageType == kImageTypeFirmware) {
      *version = size >= kFirmwareHeaderVersion + 4 ? GetLe32(image.get(), kFirmwareHeaderVersion) : kNoRomVersion;
    } else if (imageType == kImageTypeBiosRegion) {
      *version = GetRomImageVersion(adapter, image.get(), size, codeType);
    }
  }
  return result;
}

bool IsVersionNotNewer(uint32_t a, uint32_t b) {
  for (int shift = 24; shift >= 8; shift -= 8) {
    uint32_t byteA = (a >> shift) & 0xFF;
    uint32_t byteB = (b >> shift) & 0xFF;
    if (byteA != byteB) return byteA < byteB;
  }
  return (b & 0xFF) >= (a & 0xFF);
}
