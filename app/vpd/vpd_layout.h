// The VPD area of manufacturing page 1: PCI Vital Product Data resources as
// the PCI Local Bus Specification defines them. Offsets are relative to the
// start of the area; multi-byte lengths are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/pages/manufacturing_pages.h"

namespace vpd {

inline constexpr uint32_t kAreaSize = manufacturing_page1::kVpdAreaSize;  // 256

// Tag bytes. A tag above kLargeTagLimit opens a large resource (tag, u16
// length, data); the first tag byte at or below it ends the walk.
inline constexpr uint8_t kTagIdentifier = 0x82;  // the product name; it starts the area
inline constexpr uint8_t kTagReadOnly = 0x90;    // keywords, read-only
inline constexpr uint8_t kTagReadWrite = 0x91;   // keywords, read-write
inline constexpr uint8_t kTagEnd = 0x78;         // small resource: the end
inline constexpr uint8_t kLargeTagLimit = 0x80;

// A large resource's header.
namespace large {
inline constexpr size_t kTag = 0;     // u8
inline constexpr size_t kLength = 1;  // u16, the bytes after the header
inline constexpr size_t kSize = 3;
inline constexpr uint32_t kMaxLength = 0xFFFF;
}  // namespace large

// A keyword inside a large resource's data.
namespace keyword {
inline constexpr size_t kName = 0;        // 2 characters
inline constexpr size_t kNameSize = 2;
inline constexpr size_t kDataLength = 2;  // u8, the data bytes after the header
inline constexpr size_t kSize = 3;
inline constexpr uint32_t kMaxDataLength = 0xFF;
}  // namespace keyword

// The keyword whose first data byte is the checksum: it makes the bytes from
// the area's start through it sum to 0.
inline constexpr char kChecksumKeyword[] = "RV";

}  // namespace vpd

// The two's complement of the 8-bit sum of the bytes: the checksum byte that
// makes them and it sum to 0.
uint8_t VpdChecksum(const uint8_t* bytes, size_t count);
