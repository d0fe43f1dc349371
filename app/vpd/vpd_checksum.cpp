#include "app/vpd/vpd_layout.h"

uint8_t VpdChecksum(const uint8_t* bytes, size_t count) {
  uint8_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  return static_cast<uint8_t>(0x100 - sum);
}
