// The flash package file: a header, a table of entries, then the entries'
// image data concatenated in entry order. Little-endian throughout.
#pragma once

#include <cstddef>
#include <cstdint>

namespace flash_pkg_header {
inline constexpr size_t kSignature0 = 0;      // u32
inline constexpr size_t kSignature1 = 4;      // u32
inline constexpr size_t kPackageType = 8;     // u8: the board type the package is made for
inline constexpr size_t kPackageVersion = 12; // u32
inline constexpr size_t kFlags = 16;          // u32
inline constexpr size_t kHeaderVersion = 20;  // u32
inline constexpr size_t kChecksum = 24;       // u32
inline constexpr size_t kEntryCount = 52;     // u8
inline constexpr uint32_t kSize = 56;
static_assert(kEntryCount < kSize);
inline constexpr uint32_t kSignature0Value = 0xBEEFDEAD;
inline constexpr uint32_t kSignature1Value = 0xDEADBEEF;
inline constexpr uint32_t kNewestHeaderVersion = 0x01000000;
inline constexpr uint8_t kHighestPackageType = 12;
}  // namespace flash_pkg_header

namespace flash_pkg_entry {
inline constexpr size_t kImageType = 0;   // u8
inline constexpr size_t kOffset = 4;      // u32, from the package's start
inline constexpr size_t kSize = 8;        // u32
inline constexpr size_t kVersion = 12;    // u64
inline constexpr size_t kUniqueId = 20;   // u64; module firmware: the configuration ID it is made for
inline constexpr size_t kConfigIdLow = 20;   // u32
inline constexpr size_t kConfigIdHigh = 24;  // u32
inline constexpr uint32_t kRecordSize = 32;
static_assert(kConfigIdHigh + 4 + 4 == kRecordSize);
}  // namespace flash_pkg_entry

// Where entry i starts.
inline constexpr uint64_t FlashPkgEntryOffset(uint32_t index) {
  return flash_pkg_header::kSize + uint64_t{flash_pkg_entry::kRecordSize} * index;
}

// Image types of the entries.
enum : uint8_t {
  kPkgImageFirmware = 1,     // controller firmware, flashed last
  kPkgImageBios = 2,         // option-ROM images
  kPkgImageUefi = 3,
  kPkgImageBiosOther = 4,    // a BIOS-type image that does not count as the package's BIOS
  kPkgImageSsdFirmware = 5,  // flash-module firmware
  kPkgImageIgnored = 6,
};

// The package type that goes with the PCI subsystem ID of a card without a
// RAID configuration, whatever its board type.
inline constexpr uint8_t kPkgTypeUnconfigured = 5;
