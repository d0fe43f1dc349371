#include "app/images/image_download.h"

#include "app/card/adapter_reset.h"
#include "app/images/bios_region.h"
#include "app/shell/console.h"
#include "app/images/image_transfer.h"
#include "app/images/image_upload.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "ctl/facade/qmx.h"

uint32_t DownloadImageChunk(uint32_t adapter, uint8_t imageType, const void* buffer, uint32_t length,
                            uint32_t offset, uint32_t last, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  ClearTransferStatus(iocStatus, iocLogInfo);
  LibHandle handle = adapter;
  uint8_t reply[kDownloadReplySize] = {};
  uint32_t replySize = sizeof reply;
  IocStatusInfo status{};
  LibStatus result =
      QmxFirmwareDownload(&handle, buffer, length, offset, imageType, last, reply, &replySize, &status);
  return TakeTransferStatus(result, status, iocStatus, iocLogInfo);
}

uint32_t VerifyDownload(const uint8_t* image, uint32_t size, uint32_t adapter, uint16_t* iocStatus,
                        uint32_t* iocLogInfo, uint8_t imageType) {
  AppBuffer readBack;
  uint32_t readSize = 0;
  if (!UploadFlashImage(adapter, imageType, &readBack, &readSize, 0, iocStatus, iocLogInfo)) {
    ConsolePrint("\tERROR: Image Upload Failed.\n");
    return 0;
  }
  return readSize >= size && MemEqual(readBack.get(), image, size) ? 1 : 0;
}

uint32_t DownloadFwImage(uint32_t adapter, const uint8_t* image, uint32_t size, uint16_t* iocStatus,
                         uint32_t* iocLogInfo) {
  if (!DownloadImageChunk(adapter, kImageTypeFirmware, image, size, 0, 1, iocStatus, iocLogInfo)) {
    ConsolePrint("\t\tFirmware Download Failed!\n\n");
    return 0;
  }
  ConsolePrint("\t\tFirmware Download Successful.\n\n");
  ConsolePrint("\t\tVerifying Download...\n\n");
  if (!VerifyDownload(image, size, adapter, iocStatus, iocLogInfo, kImageTypeFirmwareReadBack)) {
    ConsolePrint("\t\tERROR: Downloaded Image corrupt.\n\t\tFirmware Flash FAILED!\n\n");
    return 0;
  }
  ConsolePrint("\t\tFirmware Flash Successful!\n\n");
  ConsolePrint("\t\tResetting Adapter...\n\n");
  // The rebuild's own failure is not this step's: the image is flashed and
  // the controller reset; the records are rebuilt either way.
  if (ResetAndRebuildAdapter(adapter).reset != kLibOk) {
    ConsolePrint("\t\tAdapter Reset Failed!\n\n");
    return 0;
  }
  ConsolePrint("\t\tAdapter Successfully Reset.\n\n");
  return 1;
}

uint32_t DownloadBiosImage(const uint8_t* newImage, uint32_t adapter, uint32_t newSize, uint16_t* iocStatus,
                           uint32_t* iocLogInfo) {
  ClearTransferStatus(iocStatus, iocLogInfo);
  AppBuffer current;
  uint32_t currentSize = 0;
  // Without the current region there is nothing to rebuild around: the
  // region is never overwritten with the new file alone or with nothing.
  if (!UploadFlashImage(adapter, kImageTypeBiosRegion, &current, &currentSize, 0, iocStatus, iocLogInfo)) {
    return 0;
  }
  if (currentSize == 0) return 0;
  AppBuffer region;
  uint32_t regionSize = 0;
  uint32_t built = AssembleBiosRegion(current.get(), currentSize, newImage, newSize, &region, &regionSize);
  if (built != kRegionBuilt) {
    if (built == kRegionNoMemory) ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 0;
  }
  return DownloadImageChunk(adapter, kImageTypeBiosRegion, region.get(), regionSize, 0, 1, iocStatus, iocLogInfo);
}
