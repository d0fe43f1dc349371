// Little-endian field access for frames, blocks and pages, and the byte
// swaps for big-endian SCSI data. Every multi-byte field that travels to the
// driver or comes back from the controller is read and written through these.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint8_t Get8(const void* base, size_t offset) {
  return static_cast<const uint8_t*>(base)[offset];
}

inline uint16_t GetLe16(const void* base, size_t offset) {
  const uint8_t* p = static_cast<const uint8_t*>(base) + offset;
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t GetLe32(const void* base, size_t offset) {
  const uint8_t* p = static_cast<const uint8_t*>(base) + offset;
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t GetLe64(const void* base, size_t offset) {
  return static_cast<uint64_t>(GetLe32(base, offset)) |
         (static_cast<uint64_t>(GetLe32(base, offset + 4)) << 32);
}

inline void Put8(void* base, size_t offset, uint8_t value) {
  static_cast<uint8_t*>(base)[offset] = value;
}

inline void PutLe16(void* base, size_t offset, uint16_t value) {
  uint8_t* p = static_cast<uint8_t*>(base) + offset;
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}

inline void PutLe32(void* base, size_t offset, uint32_t value) {
  uint8_t* p = static_cast<uint8_t*>(base) + offset;
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void PutLe64(void* base, size_t offset, uint64_t value) {
  PutLe32(base, offset, static_cast<uint32_t>(value));
  PutLe32(base, offset + 4, static_cast<uint32_t>(value >> 32));
}

// Big-endian (SCSI) fields.
inline uint16_t GetBe16(const void* base, size_t offset) {
  const uint8_t* p = static_cast<const uint8_t*>(base) + offset;
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

inline uint32_t GetBe32(const void* base, size_t offset) {
  const uint8_t* p = static_cast<const uint8_t*>(base) + offset;
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

inline uint64_t GetBe64(const void* base, size_t offset) {
  return (static_cast<uint64_t>(GetBe32(base, offset)) << 32) | GetBe32(base, offset + 4);
}

inline uint32_t Swap32(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

inline uint64_t Swap64(uint64_t value) {
  return (static_cast<uint64_t>(Swap32(static_cast<uint32_t>(value))) << 32) |
         Swap32(static_cast<uint32_t>(value >> 32));
}
