// The fields of a module's configuration image (SsdConfigImage, 3584
// bytes) and of its format settings that the format and DLC commands read
// and write. Offsets count from the start of the image or record; values
// are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ssd_config {
// Media erase mode: the low two bits are what SECURITY ERASE UNIT does;
// the upper six belong to other settings and are kept.
inline constexpr size_t kMediaEraseMode = 1698;  // u8
inline constexpr uint8_t kEraseModeMask = 0x03;
inline constexpr uint8_t kEraseStandard = 1;
inline constexpr uint8_t kEraseExtended = 2;  // "Flash Media Erase"

// The DLC group: the control word and the two state bytes.
inline constexpr size_t kDlcControl = 1710;  // u16
inline constexpr size_t kDlcStateA = 2624;   // u8
inline constexpr size_t kDlcStateB = 2625;   // u8
inline constexpr uint8_t kDlcStateEnabled = 2;
inline constexpr uint8_t kDlcStateDisabled = 0;
inline constexpr uint16_t kDlcControlValue = 1;

// The Max LBA group: the sector size, two flags and the sectors the module
// reports.
inline constexpr size_t kSectorSize = 1712;   // u16
inline constexpr size_t kMaxLbaFlagA = 1714;  // u8
inline constexpr size_t kMaxLbaFlagB = 1715;  // u8
inline constexpr size_t kMaxLbaValue = 1716;  // u32
inline constexpr uint16_t kSectorSizeValue = 512;
inline constexpr uint8_t kMaxLbaFlagAValue = 0;
inline constexpr uint8_t kMaxLbaFlagBValue = 1;
}  // namespace ssd_config

// The format settings record: read as 2048 bytes, its first 1536 written.
namespace ssd_format_settings {
inline constexpr uint32_t kReadSize = 2048;
inline constexpr uint32_t kWriteSize = 1536;
inline constexpr size_t kSectorSize = 4;     // u16
inline constexpr size_t kCleared16a = 6;     // u16, written 0
inline constexpr size_t kCleared16b = 8;     // u16, written 0
inline constexpr size_t kClearedBlock = 10;  // 16 bytes, written 0
inline constexpr size_t kClearedBlockSize = 16;
inline constexpr size_t kByte26 = 26;        // u8, written 0
inline constexpr size_t kByte27 = 27;        // u8, written 1
inline constexpr size_t kClearedTail = 30;   // 32 bytes, written 0 (28-29 kept)
inline constexpr size_t kClearedTailSize = 32;
inline constexpr size_t kMaxLbaValue = 62;   // u32
static_assert(kMaxLbaValue + 4 <= kWriteSize);
}  // namespace ssd_format_settings
