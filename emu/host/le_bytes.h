// Little-endian reads and writes on raw bytes: the driver blocks, QMX frames
// and configuration pages are little-endian whatever the host. Reads past the
// end of a vector answer 0 and writes past it do nothing, so a short frame or
// page never makes the emulator touch memory it does not own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace emu::le {

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t Get64(const uint8_t* p) {
  return static_cast<uint64_t>(Get32(p)) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
}
inline void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Put64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint8_t Get8(const std::vector<uint8_t>& v, size_t at) { return at < v.size() ? v[at] : 0; }
inline uint16_t Get16(const std::vector<uint8_t>& v, size_t at) {
  return at + 2 <= v.size() ? Get16(v.data() + at) : 0;
}
inline uint32_t Get32(const std::vector<uint8_t>& v, size_t at) {
  return at + 4 <= v.size() ? Get32(v.data() + at) : 0;
}
inline uint64_t Get64(const std::vector<uint8_t>& v, size_t at) {
  return at + 8 <= v.size() ? Get64(v.data() + at) : 0;
}
inline void Put8(std::vector<uint8_t>* v, size_t at, uint8_t x) {
  if (at < v->size()) (*v)[at] = x;
}
inline void Put16(std::vector<uint8_t>* v, size_t at, uint16_t x) {
  if (at + 2 <= v->size()) Put16(v->data() + at, x);
}
inline void Put32(std::vector<uint8_t>* v, size_t at, uint32_t x) {
  if (at + 4 <= v->size()) Put32(v->data() + at, x);
}
inline void Put64(std::vector<uint8_t>* v, size_t at, uint64_t x) {
  if (at + 8 <= v->size()) Put64(v->data() + at, x);
}
// Writes `text` into a fixed field of `width` bytes, zero-padded and cut to fit.
inline void PutText(std::vector<uint8_t>* v, size_t at, size_t width, const std::string& text) {
  for (size_t i = 0; i < width && at + i < v->size(); ++i) {
    (*v)[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
  }
}

}  // namespace emu::le
