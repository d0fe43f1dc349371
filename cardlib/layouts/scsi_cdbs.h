// The SCSI commands the card library sends to a module, and the LOG SENSE
// page header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace write_buffer_cdb {
inline constexpr uint8_t kOperation = 0x3B;
inline constexpr size_t kMode = 1;
inline constexpr size_t kBufferId = 2;
inline constexpr size_t kOffset = 3;       // 24 bits big-endian
inline constexpr size_t kLength = 6;       // 24 bits big-endian, the parameter list length
inline constexpr size_t kControl = 9;
inline constexpr uint8_t kCdbLength = 10;
inline constexpr uint8_t kModeDownloadAndSave = 0x05;
inline constexpr uint32_t kMaxLength = 0xFFFFFF;
}  // namespace write_buffer_cdb

namespace format_unit_cdb {
inline constexpr uint8_t kOperation = 0x04;
inline constexpr size_t kFlags = 1;
inline constexpr uint8_t kFormatData = 0x10;  // FMTDATA: a parameter list follows
inline constexpr uint8_t kCdbLength = 6;
}  // namespace format_unit_cdb

// The parameter list FORMAT UNIT sends with the flag: a short header with
// FOV and the vendor bit, no defect list, then the vendor's byte.
namespace format_unit_list {
inline constexpr uint32_t kSize = 10;
inline constexpr uint8_t kBytes[kSize] = {0x00, 0x81, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00};
}  // namespace format_unit_list

namespace log_sense_cdb {
inline constexpr uint8_t kOperation = 0x4D;
inline constexpr size_t kPage = 2;          // page control in bits 6-7, page code below
inline constexpr size_t kAllocation = 7;    // u16 big-endian
inline constexpr uint8_t kCumulativeValues = 0x40;
inline constexpr uint8_t kCdbLength = 10;
}  // namespace log_sense_cdb

// Module SCSI commands may run long (a format, a firmware save).
inline constexpr uint32_t kModuleScsiTimeoutSeconds = 180;
