// Reading images out of the controller's flash with firmware upload
// requests. Every operation clears its two status outputs first and fills
// them from the controller's answer (see TakeTransferStatus); either may be
// null.
#pragma once

#include <cstdint>

#include "app/shell/app_buffer.h"

// One upload request of `length` bytes at `offset` into buffer (null with a
// length of 0 asks for the size only); *imageSize gets the image's actual
// size in flash. 1 ok, 0 failed.
uint32_t UploadImageChunk(uint32_t adapter, uint8_t imageType, void* buffer, uint32_t length, uint32_t offset,
                          uint32_t* imageSize, uint16_t* iocStatus, uint32_t* iocLogInfo);

// The whole image in a new buffer of the size the controller reports, read
// in chunks of 64 KiB from startOffset (callers pass 0). 1 with *buffer and
// *size (an image of size 0 gives an empty buffer); 0 with an empty buffer
// when the size query fails ("\tERROR: Failed to Upload Image!\n"), memory
// runs out, a chunk fails, or the size the controller reports changes
// between chunks.
uint32_t UploadFlashImage(uint32_t adapter, uint8_t imageType, AppBuffer* buffer, uint32_t* size,
                          uint32_t startOffset, uint16_t* iocStatus, uint32_t* iocLogInfo);

// The first 256 bytes of the image (from offset) in a new 256-byte buffer,
// in one request; *size gets the image's full size. 1 ok; 0 with an empty
// buffer on a failure.
uint32_t UploadImageBuffer(uint32_t adapter, uint8_t imageType, AppBuffer* buffer, uint32_t* size,
                           uint32_t offset, uint16_t* iocStatus, uint32_t* iocLogInfo);
