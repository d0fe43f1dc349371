// FW DOWNLOAD and FW UPLOAD frames. First-generation frames describe the
// piece in a 12-byte transaction element; second-generation frames carry
// offset and size directly.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fw_frame {
inline constexpr size_t kImageType = 0;       // u8
inline constexpr size_t kFunction = 3;        // u8
inline constexpr size_t kMsgFlags = 7;        // u8, download: 1 on the last piece
inline constexpr size_t kTotalImageSize = 12; // u32, download: the size of this piece
// The transaction element.
inline constexpr size_t kTeReserved = 20;       // u8
inline constexpr size_t kTeContextSize = 21;    // u8
inline constexpr size_t kTeDetailsLength = 22;  // u8, 12
inline constexpr size_t kTeFlags = 23;          // u8
inline constexpr size_t kTeReservedWord = 24;   // u32
inline constexpr size_t kTeImageOffset = 28;    // u32
inline constexpr size_t kTeImageSize = 32;      // u32
inline constexpr uint8_t kDetailsLength = 12;
inline constexpr size_t kBufferSize = 44;
inline constexpr uint32_t kRequestLength = 36;  // data element at word 9
static_assert(kTeImageSize + 4 == kRequestLength);
inline constexpr uint8_t kLastPiece = 1;
}  // namespace fw_frame

namespace fw_frame_gen2 {
inline constexpr size_t kImageType = 0;
inline constexpr size_t kFunction = 3;
inline constexpr size_t kMsgFlags = 7;
inline constexpr size_t kTotalImageSize = 12;
inline constexpr size_t kImageOffset = 24;
inline constexpr size_t kImageSize = 28;
inline constexpr size_t kBufferSize = 48;
inline constexpr uint32_t kRequestLength = 32;
static_assert(kImageSize + 4 == kRequestLength);
}  // namespace fw_frame_gen2

namespace fw_download_reply {
inline constexpr uint32_t kSize = 20;
}

namespace fw_upload_reply {
inline constexpr size_t kActualImageSize = 20;  // u32
inline constexpr uint32_t kSize = 24;
static_assert(kActualImageSize + 4 == kSize);
}  // namespace fw_upload_reply

inline constexpr uint32_t kFwTransferTimeout = 60;

enum : uint8_t {
  kImageTypeFirmware = 1,
  kImageTypeOptionRom = 2,
};
