// Writing images into the controller's flash with firmware download
// requests: one request per call, the read-back check and the reset after
// a firmware download, and the BIOS region rebuilt around a new image.
// Every operation clears its two status outputs first and fills them from
// the controller's answer (see TakeTransferStatus); either may be null.
#pragma once

#include <cstdint>

// One download request; last is 1 on the image's last segment. 1 ok, 0 failed.
uint32_t DownloadImageChunk(uint32_t adapter, uint8_t imageType, const void* buffer, uint32_t length,
                            uint32_t offset, uint32_t last, uint16_t* iocStatus, uint32_t* iocLogInfo);

// 1 when the image of the type read back from flash holds the size bytes
// of image at its start, else 0 (after "\tERROR: Image Upload Failed.\n"
// when it cannot be read back). A read-back shorter than size differs.
uint32_t VerifyDownload(const uint8_t* image, uint32_t size, uint32_t adapter, uint16_t* iocStatus,
                        uint32_t* iocLogInfo, uint8_t imageType);

// Downloads the controller firmware in one request, verifies it against
// the firmware copy read back, then resets the controller. 1 when all three
// went through; each step prints its line.
uint32_t DownloadFwImage(uint32_t adapter, const uint8_t* image, uint32_t size, uint16_t* iocStatus,
                         uint32_t* iocLogInfo);

// Reads the current BIOS region, rebuilds it around the new image file
// (AssembleBiosRegion) and downloads the result in one request. 0 and
// nothing sent when the current region cannot be read (or is empty), the
// new file gives nothing, or memory runs out ("\n%s: Insufficient
// memory.\n"); otherwise the download's result.
uint32_t DownloadBiosImage(const uint8_t* newImage, uint32_t adapter, uint32_t newSize, uint16_t* iocStatus,
                           uint32_t* iocLogInfo);
