// What the application reads in a flash module's firmware image and in the
// module's configuration image. Offsets from the start; little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

// Module firmware image: the customer IDs it is made for and its revision.
namespace ssd_fw_image {
inline constexpr size_t kMainCustomerId = 48;  // u32
inline constexpr size_t kSubCustomerId = 52;   // u32
inline constexpr size_t kRevision = 256;       // 8 characters
inline constexpr uint32_t kRevisionSize = 8;
// An image must hold all of the above to be looked at.
inline constexpr uint32_t kHeaderSize = kRevision + kRevisionSize;
static_assert(kSubCustomerId + 4 <= kHeaderSize);
}  // namespace ssd_fw_image

// Main customer IDs whose images carry customer IDs the module must take
// before the download.
inline constexpr uint32_t kCustomerIdTriggers[] = {103, 148};

// Module configuration image (SsdConfigImage, 3584 bytes).
namespace ssd_config_image {
inline constexpr size_t kMainCustomerId = 1544;  // u32
inline constexpr size_t kSubCustomerId = 1548;   // u32
}  // namespace ssd_config_image

// True when the image is long enough for every field above.
inline bool SsdFwImageHoldsHeader(uint32_t size) { return size >= ssd_fw_image::kHeaderSize; }
