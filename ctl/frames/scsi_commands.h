// The SCSI commands the library sends to identify a disk, and the fields of
// their (big-endian) answers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scsi_cdb {
inline constexpr uint8_t kInquiry = 0x12;
inline constexpr uint8_t kReadCapacity10 = 0x25;
inline constexpr uint8_t kServiceActionIn16 = 0x9E;
inline constexpr uint8_t kReadCapacity16Action = 0x10;
inline constexpr uint8_t kInquiryEvpd = 0x01;     // byte 1 of an INQUIRY CDB
inline constexpr size_t kInquiryPageCode = 2;     // byte of an INQUIRY CDB
inline constexpr size_t kInquiryAllocation = 4;   // byte of an INQUIRY CDB
inline constexpr size_t kReadCapacity16Allocation = 13;
inline constexpr uint8_t kInquiryLength = 255;
inline constexpr uint32_t kReadCapacity10Length = 8;
inline constexpr uint32_t kReadCapacity16Length = 32;
}  // namespace scsi_cdb

namespace inquiry_data {
inline constexpr size_t kPeripheral = 0;   // bits 0-4 device type
inline constexpr size_t kRemovable = 1;    // bit 7
inline constexpr uint8_t kTypeMask = 0x1F;
inline constexpr uint8_t kRemovableBit = 0x80;
inline constexpr size_t kVendor = 8;       // char[8]
inline constexpr size_t kVendorSize = 8;
inline constexpr size_t kProduct = 16;     // char[16]
inline constexpr size_t kProductSize = 16;
inline constexpr size_t kRevision = 32;    // char[4]
inline constexpr size_t kRevisionSize = 4;
inline constexpr uint32_t kTypeDirectAccess = 0;
inline constexpr uint32_t kTypeVolumeTarget = 29;  // what the library marks a volume's target with
inline constexpr uint32_t kTypeUnknown = 31;
}  // namespace inquiry_data

namespace read_capacity10 {
inline constexpr size_t kLastLba = 0;      // u32
inline constexpr size_t kBlockLength = 4;  // u32
inline constexpr uint32_t kLbaTooLarge = 0xFFFFFFFF;
}  // namespace read_capacity10

namespace read_capacity16 {
inline constexpr size_t kLastLba = 0;      // u64
inline constexpr size_t kBlockLength = 8;  // u32
}  // namespace read_capacity16

// VPD pages: a 4-byte header (page code at 1, page length big-endian at 2).
namespace vpd_page {
inline constexpr size_t kPageCode = 1;
inline constexpr size_t kPageLength = 2;  // u16 big-endian
inline constexpr size_t kBody = 4;
inline constexpr uint8_t kSupportedPages = 0x00;
inline constexpr uint8_t kDeviceIdentification = 0x83;
inline constexpr uint8_t kBlockCharacteristics = 0xB1;
// Block Device Characteristics.
inline constexpr size_t kRotationRate = 4;  // u16 big-endian
inline constexpr size_t kFormFactor = 7;    // bits 0-3
inline constexpr uint16_t kNonRotating = 1;
}  // namespace vpd_page

// A designation descriptor of the device identification page.
namespace designator {
inline constexpr size_t kCodeSet = 0;      // bits 0-3
inline constexpr size_t kTypeByte = 1;     // bits 0-3 designator type, 4-5 association
inline constexpr size_t kLength = 3;
inline constexpr size_t kHeaderSize = 4;
inline constexpr uint32_t kMaxKept = 32;
}  // namespace designator
