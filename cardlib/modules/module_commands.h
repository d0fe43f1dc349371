// Commands to one flash module: plain ATA commands from a fixed table
// (security erase, firmware download), SCSI FORMAT UNIT and WRITE BUFFER
// through the controller, and the module vendor's SCT actions (diagnostic
// information, configuration image, format settings). Handles by value;
// results 0 success, 1 failure unless stated.
#pragma once

#include <cstddef>
#include <cstdint>

// Directions of an ATA command table row.
enum : uint8_t {
  kAtaDataOut = 0,
  kAtaDataIn = 1,
  kAtaNoData = 2,
};

struct AtaCommandRow {
  uint8_t row;
  uint8_t direction;  // kAtaDataIn, kAtaDataOut, kAtaNoData
  uint8_t command;
  uint8_t features;
};
static_assert(sizeof(AtaCommandRow) == 4);

inline constexpr uint32_t kAtaCommandRows = 11;

// Rows that operations send.
enum : uint32_t {
  kAtaRowIdentify = 0,
  kAtaRowDownloadMicrocodeSave = 1,  // DOWNLOAD MICROCODE, features 0x07
  kAtaRowDownloadMicrocode = 2,      // features 0x01
  kAtaRowDeviceReset = 3,
  kAtaRowErasePrepare = 4,
  kAtaRowEraseUnit = 5,
  kAtaRowSetPassword = 10,
};

extern const AtaCommandRow AtaCommandTable[kAtaCommandRows];

// One table row with the caller's buffer as its data; a data phase must be
// 1 to 255 whole sectors. Time-out 100 s. The passthrough status words are
// not touched.
uint32_t SendSSDAtaCommand(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length, uint32_t row);
// One data-out row carrying the whole data, padded with zeros to whole
// sectors; the 16-bit sector count travels in the count and LBA low bytes.
// Refused: no data, or more than 65535 sectors.
uint32_t SendSSDAtaData(uint32_t vxHandle, uint32_t ssdHandle, const void* data, uint32_t length, uint32_t row);

// The ATA security password field: 32 bytes.
inline constexpr uint32_t kAtaPasswordSize = 32;

// SECURITY ERASE PREPARE and ERASE UNIT (normal erase, the password given
// as the master password), at
// most 21 attempts: 2 s before the first, 15 s before each later one. A
// password longer than its field is refused.
uint32_t LibZKSSDSecureErase(uint32_t vxHandle, uint32_t ssdHandle, const char* password);
uint32_t SSDSecureEraseWithPassword(uint32_t vxHandle, uint32_t ssdHandle, const char* password);
// The same with an empty password and without the waits.
uint32_t SSDSecureErase(uint32_t vxHandle, uint32_t ssdHandle);

// Modes of LibZKSSDDownloadFirmware.
enum : uint8_t {
  kFirmwareModeDownload = 0,         // DOWNLOAD MICROCODE features 0x01
  kFirmwareModeDownloadAndSave = 1,  // features 0x07
};

// Module firmware over ATA DOWNLOAD MICROCODE, in one command.
uint32_t LibZKSSDDownloadFirmware(uint32_t adapterIndex, uint8_t moduleIndex, const void* image, uint32_t length,
                                  uint8_t mode);
// Module firmware over SCSI WRITE BUFFER (download microcode and save), for
// a module that reports the SAS protocol. At most 24 bits of length.
uint32_t LibZKSSDDownloadFirmwareScsi(uint32_t adapterIndex, uint8_t moduleIndex, const void* image,
                                      uint32_t length);

// SCSI FORMAT UNIT to the device; with the flag a parameter list goes with
// it. 0; 1 when refused (non-zero IOCStatus, or a SCSI status other than
// GOOD after the retries); else the passthrough's own status.
uint32_t LibZKSSDScsiCommand(uint32_t deviceHandle, uint32_t parameterList);
uint32_t SendSSDVendorScsiCmd(uint32_t deviceHandle, uint32_t parameterList);

inline constexpr uint32_t kDiagInfoSize = 512;

// The module's diagnostic information (SCT action 0xC000 function 0). Its
// second half is the unlock challenge.
struct DiagInfoBlock {
  uint8_t bytes[kDiagInfoSize];
};
static_assert(sizeof(DiagInfoBlock) == kDiagInfoSize);

namespace diag_info {
inline constexpr size_t kConfigId = 16;      // 4 ASCII digits
inline constexpr size_t kConfigIdSize = 4;
inline constexpr size_t kModelType = 20;     // u32 holding one ASCII digit
inline constexpr size_t kChallenge = 256;    // the unlock challenge
inline constexpr size_t kChallengeSize = 256;
static_assert(kChallenge + kChallengeSize == kDiagInfoSize);
// What the application reads of the block: all of it but the last 8 bytes,
// which is more than every field it looks at.
inline constexpr uint32_t kReadSize = 504;
static_assert(kModelType + 4 <= kReadSize && kReadSize <= kDiagInfoSize);
}  // namespace diag_info

// The first size bytes (at most 512) of the diagnostic information. No
// unlock needed, no retry.
uint32_t LibZKSSDGetDiagInfo(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t size);
// The 512 bytes of diagnostic identify data (SCT action 0xC002).
uint32_t ReadDiagIdentify(uint32_t vxHandle, uint32_t ssdHandle, void* buffer);

// Modes of the configuration and format settings transfers.
enum : uint32_t {
  kSsdTransferWrite = 0,
  kSsdTransferRead = 1,
};

// The module configuration image: read whole, written back from its second
// sector on (the first sector is the module's own and is not written).
inline constexpr uint32_t kSsdConfigImageSize = 3584;
inline constexpr uint32_t kSsdConfigWriteOffset = 512;
inline constexpr uint32_t kSsdConfigWriteSize = 3072;
static_assert(kSsdConfigWriteOffset + kSsdConfigWriteSize == kSsdConfigImageSize);

struct SsdConfigImage {
  uint8_t bytes[kSsdConfigImageSize];
};
static_assert(sizeof(SsdConfigImage) == kSsdConfigImageSize);

// The configuration block transfer (SCT action 0xC008) of length bytes, at
// most 3 tries with a 1000 ms pause after each failed one. The module must
// be unlocked first.
uint32_t SSDConfigReadWrite(uint32_t vxHandle, uint32_t ssdHandle, uint32_t mode, void* buffer, uint32_t length);
// The image as the application keeps it: all 3584 bytes read; the 3072
// bytes from offset 512 written.
uint32_t ReadSsdConfigImage(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image);
uint32_t WriteSsdConfigImage(uint32_t vxHandle, uint32_t ssdHandle, const SsdConfigImage* image);

// Format settings: read (0xC60C) or write (0xC60B with the value) of length
// bytes. One try.
uint32_t SSDChangeSectorSize(uint32_t vxHandle, uint32_t ssdHandle, uint32_t mode, void* buffer, uint32_t length,
                             uint32_t value);

// The parameters of the packed SCT action 0xC003.
struct PackedSctParameters {
  uint32_t field[8];
};
static_assert(sizeof(PackedSctParameters) == 32);

// SCT action 0xC003 with the packed parameters, no data phase.
uint32_t SendPackedSctAction(uint32_t vxHandle, uint32_t ssdHandle, const PackedSctParameters* parameters);
