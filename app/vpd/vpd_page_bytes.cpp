#include "app/vpd/vpd_page_bytes.h"

#include <algorithm>

#include "ctl/base/byte_order.h"
#include "ctl/frames/config_frame.h"

size_t VpdPageBytes(const uint8_t* page, size_t bufferSize) {
  if (page == nullptr || bufferSize < page_header::kSize) return 0;
  return std::min<size_t>(4u * Get8(page, page_header::kLength), bufferSize);
}
