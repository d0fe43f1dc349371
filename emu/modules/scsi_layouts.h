// SCSI data the targets return: INQUIRY, the vital product data pages, READ
// CAPACITY (10) and (16); and what they take: the CDB fields and parameter
// lists of WRITE BUFFER and FORMAT UNIT. SCSI data is big-endian.
#pragma once

#include <cstdint>

namespace emu::scsi {

enum Opcode : uint8_t {
  kTestUnitReady = 0x00,
  kRequestSense = 0x03,
  kFormatUnit = 0x04,
  kInquiry = 0x12,
  kReadCapacity10 = 0x25,
  kWriteBuffer = 0x3B,
  kLogSense = 0x4D,
  kServiceActionIn16 = 0x9E,
};
inline constexpr uint8_t kReadCapacity16Action = 0x10;  // service action, CDB byte 1 low 5 bits

namespace inquiry {
inline constexpr uint32_t kEvpd = 1;          // CDB byte 1 bit 0
inline constexpr uint32_t kPageCode = 2;      // CDB
inline constexpr uint32_t kAllocation = 3;    // CDB, u16
inline constexpr uint32_t kStandardBytes = 96;
inline constexpr uint32_t kPeripheral = 0;
inline constexpr uint32_t kVersion = 2;
inline constexpr uint32_t kResponseFormat = 3;
inline constexpr uint32_t kAdditionalLength = 4;
inline constexpr uint32_t kFlags7 = 7;        // 0x02 command queueing
inline constexpr uint32_t kVendor = 8;
inline constexpr uint32_t kProduct = 16;
inline constexpr uint32_t kRevision = 32;
inline constexpr uint32_t kVendorSerial = 36; // 20 characters: the module's serial number
inline constexpr uint32_t kVendorSerialBytes = 20;
inline constexpr uint32_t kVendorFlags = 57;  // bit 0 clear: the module has ATA security
inline constexpr uint8_t kNoLun = 0x7F;       // peripheral qualifier 3, type 0x1F
}  // namespace inquiry

namespace vpd {
inline constexpr uint32_t kPageCode = 1;
inline constexpr uint32_t kPageLength = 2;   // u16
inline constexpr uint32_t kData = 4;
inline constexpr uint8_t kSupportedPages = 0x00;
inline constexpr uint8_t kUnitSerial = 0x80;
inline constexpr uint8_t kDeviceId = 0x83;
inline constexpr uint8_t kBlockCharacteristics = 0xB1;
// designation descriptors of page 0x83
inline constexpr uint32_t kDescCodeSet = 0;   // low 4 bits: 1 binary, 2 ASCII
inline constexpr uint32_t kDescType = 1;      // bits 4-5 association, 0-3 designator type
inline constexpr uint32_t kDescLength = 3;
inline constexpr uint32_t kDescHeaderBytes = 4;
inline constexpr uint8_t kTypeT10Vendor = 1;
inline constexpr uint8_t kTypeNaa = 3;
// page 0xB1
inline constexpr uint32_t kRotationRate = 4;  // u16: 1 non-rotating
inline constexpr uint32_t kFormFactor = 7;    // low 4 bits
inline constexpr uint32_t kB1Length = 0x3C;
}  // namespace vpd

namespace capacity {
inline constexpr uint32_t k10Bytes = 8;       // last LBA u32, block length u32
inline constexpr uint32_t k16Bytes = 32;      // last LBA u64, block length u32
inline constexpr uint32_t k16Allocation = 10; // CDB, u32
}  // namespace capacity

// LOG SENSE: CDB byte 2 page control (bits 6-7) and page code, byte 3 the
// subpage, bytes 7-8 the allocation length. A page: code at 0, subpage at
// 1, the length of what follows (u16) at 2.
namespace log_sense {
inline constexpr uint32_t kPageControl = 2;
inline constexpr uint32_t kSubpage = 3;
inline constexpr uint32_t kAllocation = 7;   // u16
inline constexpr uint8_t kPageCodeMask = 0x3F;
inline constexpr uint32_t kPageLength = 2;   // u16
inline constexpr uint32_t kHeaderBytes = 4;
}  // namespace log_sense

namespace sense {
inline constexpr uint32_t kFixedBytes = 18;
inline constexpr uint32_t kDescriptorBytes = 8;
inline constexpr uint8_t kFixed = 0x70;
inline constexpr uint8_t kDescriptor = 0x72;
}  // namespace sense

// WRITE BUFFER (10-byte CDB): mode in byte 1 bits 0-4, buffer ID at 2,
// buffer offset (24 bits) at 3, parameter list length (24 bits) at 6.
namespace write_buffer {
inline constexpr uint32_t kMode = 1;
inline constexpr uint8_t kModeMask = 0x1F;
inline constexpr uint32_t kBufferId = 2;
inline constexpr uint32_t kOffset = 3;
inline constexpr uint32_t kLength = 6;
inline constexpr uint8_t kDownloadAndSave = 0x05;  // download microcode and save
}  // namespace write_buffer

// FORMAT UNIT (6-byte CDB): byte 1 FMTDATA (a parameter list follows as
// data-out) and LONGLIST (its header is 8 bytes, else 4). The header: flags
// at 1, the defect list length after it (u16 at 2, or u32 at 4).
namespace format_unit {
inline constexpr uint32_t kFlags = 1;
inline constexpr uint8_t kFmtData = 0x10;
inline constexpr uint8_t kLongList = 0x20;
inline constexpr uint32_t kShortHeaderBytes = 4;
inline constexpr uint32_t kLongHeaderBytes = 8;
inline constexpr uint32_t kShortDefectLength = 2;  // u16
inline constexpr uint32_t kLongDefectLength = 4;   // u32
}  // namespace format_unit

}  // namespace emu::scsi
