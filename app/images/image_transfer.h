// What the image transfers to and from the controller share: the image
// types, the replies' layouts, the upload chunk size and the rule that
// turns a request's outcome into a result and the two status outputs.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"

// Image types of the firmware upload and download requests.
enum : uint8_t {
  kImageTypeFirmware = 1,          // controller firmware (download, upload)
  kImageTypeBiosRegion = 2,        // the option-ROM region (download, upload)
  kImageTypeFirmwareReadBack = 5,  // the firmware in flash, read back to verify a download
};

// Every reply: its length in 32-bit words at +2.
inline constexpr uint32_t kReplyMessageLength = 2;  // u8
// Upload reply: the image's actual size in flash at +0x14.
inline constexpr uint32_t kUploadReplySize = 24;
inline constexpr uint32_t kUploadReplyImageSize = 0x14;  // u32
static_assert(kUploadReplyImageSize + 4 == kUploadReplySize);
inline constexpr uint32_t kDownloadReplySize = 20;

inline constexpr uint32_t kUploadChunkSize = 0x10000;
// The head of an image that the listings read (the firmware header).
inline constexpr uint32_t kImageHeadSize = 256;
// Firmware header: the firmware version.
inline constexpr uint32_t kFirmwareHeaderVersion = 0x14;  // u32

// Clears both outputs (either may be null).
void ClearTransferStatus(uint16_t* iocStatus, uint32_t* iocLogInfo);

// The outcome of one transfer request: 0 when the library refused it;
// otherwise the IOCStatus is stored when its valid bit is set (a non-zero
// one gives 0) and the IOCLogInfo when its valid bit is set; 1 else.
uint32_t TakeTransferStatus(LibStatus result, const IocStatusInfo& status, uint16_t* iocStatus,
                            uint32_t* iocLogInfo);
