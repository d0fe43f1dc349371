// Bodies of the diagnostic-buffer ioctls (behind the 12-byte ioctl header).
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kDiagUniqueIdBase = 0xABCDEF00;
inline constexpr uint32_t kDiagProductDataSize = 92;
inline constexpr uint32_t kDiagReadPieceMax = 65536;

enum : uint32_t {
  kDiagOpRegister = 1,
  kDiagOpUnregister = 2,
  kDiagOpQuery = 3,
  kDiagOpRead = 4,
  kDiagOpRelease = 5,
};

namespace diag_register {
inline constexpr size_t kSecondType = 0;      // u8
inline constexpr size_t kBufferType = 1;      // u8
inline constexpr size_t kDiagFlags = 4;       // u32
inline constexpr size_t kProductData = 8;     // 92 bytes
inline constexpr size_t kRequestedSize = 100; // u32
inline constexpr size_t kUniqueId = 104;      // u32
inline constexpr size_t kSize = 108;
static_assert(kProductData + kDiagProductDataSize == kRequestedSize);
static_assert(kUniqueId + 4 == kSize);
inline constexpr uint32_t kMinimumBufferSize = 16385;
}  // namespace diag_register

namespace diag_query {
inline constexpr size_t kBufferType = 1;      // u8
inline constexpr size_t kAppFlags = 2;        // u16, returned
inline constexpr size_t kProductData = 8;     // 92 bytes
inline constexpr size_t kTotalSize = 100;     // u32, returned
inline constexpr size_t kUniqueId = 108;      // u32
inline constexpr size_t kSize = 112;
static_assert(kUniqueId + 4 == kSize);
}  // namespace diag_query

// Unregister and release carry the unique id alone.
namespace diag_id_only {
inline constexpr size_t kUniqueId = 0;
inline constexpr size_t kSize = 4;
}  // namespace diag_id_only

namespace diag_read {
inline constexpr size_t kStartOffset = 4;  // u32
inline constexpr size_t kBytesToRead = 8;  // u32
inline constexpr size_t kUniqueId = 12;    // u32
inline constexpr size_t kHeadSize = 16;    // the data follows
}  // namespace diag_read
