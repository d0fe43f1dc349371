// The Register FIS of a SATA command: host to device (what the library
// sends) and device to host (what the module answers).
#pragma once

#include <cstddef>
#include <cstdint>

namespace h2d_fis {
inline constexpr size_t kType = 0;        // 0x27
inline constexpr size_t kFlags = 1;       // bit 7: command register update
inline constexpr size_t kCommand = 2;
inline constexpr size_t kFeatures = 3;
inline constexpr size_t kLbaLow = 4;      // LBA bits 0-7
inline constexpr size_t kLbaMid = 5;      // bits 8-15
inline constexpr size_t kLbaHigh = 6;     // bits 16-23
inline constexpr size_t kDevice = 7;
inline constexpr size_t kLbaBits32 = 9;   // bits 32-39
inline constexpr size_t kCount = 12;      // bits 0-7
inline constexpr size_t kCountHigh = 13;  // bits 8-15
inline constexpr size_t kSize = 20;

inline constexpr uint8_t kTypeHostToDevice = 0x27;
inline constexpr uint8_t kFlagCommand = 0x80;
inline constexpr uint8_t kDeviceForced = 0x80;  // SMART: read the values from flash
}  // namespace h2d_fis

namespace d2h_fis {
inline constexpr size_t kStatus = 2;
inline constexpr size_t kError = 3;
inline constexpr uint8_t kStatusError = 0x01;  // ERR
}  // namespace d2h_fis

// ATA commands and SMART subcommands.
namespace ata {
inline constexpr uint8_t kSmart = 0xB0;
inline constexpr uint8_t kReadLogExt = 0x2F;
inline constexpr uint8_t kSmartLbaMid = 0x4F;   // the SMART signature
inline constexpr uint8_t kSmartLbaHigh = 0xC2;
inline constexpr uint8_t kSmartReadData = 0xD0;
inline constexpr uint8_t kSmartReadThresholds = 0xD1;
inline constexpr uint8_t kSmartReadLog = 0xD5;
inline constexpr uint8_t kSmartWriteLog = 0xD6;
inline constexpr uint8_t kSctCommandLog = 0xE0;
inline constexpr uint8_t kSctDataLog = 0xE1;
// The largest transfers the sector counts describe.
inline constexpr uint32_t kMaxCount8 = 0xFF;
inline constexpr uint32_t kMaxCount16 = 0xFFFF;
}  // namespace ata
