// The COMMAND ioctl block: a 72-byte header with 64-bit buffer addresses,
// followed directly by the request frame. The driver builds the data
// scatter-gather element at the given word offset of the frame.
#pragma once

#include <cstddef>
#include <cstdint>

namespace command_block {
inline constexpr size_t kIocNumber = 0;        // u32
inline constexpr size_t kPortNumber = 4;       // u32, 0
inline constexpr size_t kMaxDataSize = 8;      // u32, 72
inline constexpr size_t kTimeout = 12;         // u32 seconds
inline constexpr size_t kReplyAddress = 16;    // u64
inline constexpr size_t kDataInAddress = 24;   // u64
inline constexpr size_t kDataOutAddress = 32;  // u64
inline constexpr size_t kSenseAddress = 40;    // u64
inline constexpr size_t kMaxReplyBytes = 48;   // u32
inline constexpr size_t kDataInSize = 52;      // u32
inline constexpr size_t kDataOutSize = 56;     // u32
inline constexpr size_t kMaxSenseBytes = 60;   // u32
inline constexpr size_t kDataSgeOffset = 64;   // u32, in 32-bit words = request length / 4
inline constexpr size_t kFrame = 68;           // the request frame
inline constexpr size_t kHeaderSize = 72;
inline constexpr uint32_t kDefaultTimeout = 10;
}  // namespace command_block
