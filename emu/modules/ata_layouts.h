// Byte layouts of what a flash module exchanges over ATA: the register
// FISes, IDENTIFY DEVICE words, the SMART data and threshold sectors, the
// log addresses, the SCT command and status sectors and the vendor blocks
// (diagnostic information and identify, configuration image, format
// settings). Offsets are from the start of the FIS or sector.
#pragma once

#include <cstdint>

namespace emu::ata {

inline constexpr uint32_t kSectorBytes = 512;

// Register FIS, host to device (type 0x27) and device to host (type 0x34).
namespace fis {
inline constexpr uint32_t kBytes = 20;
inline constexpr uint32_t kType = 0;
inline constexpr uint32_t kFlags = 1;          // bit 7: the FIS carries a command
inline constexpr uint32_t kCommand = 2;
inline constexpr uint32_t kFeatures = 3;
inline constexpr uint32_t kLba0 = 4;           // LBA bits 0-7, 8-15, 16-23 at 4, 5, 6
inline constexpr uint32_t kDevice = 7;
inline constexpr uint32_t kLba3 = 8;           // LBA bits 24-31, 32-39, 40-47 at 8, 9, 10
inline constexpr uint32_t kFeaturesHigh = 11;
inline constexpr uint32_t kCount = 12;         // u16 (12 low, 13 high)
inline constexpr uint32_t kControl = 15;
inline constexpr uint32_t kStatus = 2;         // device to host
inline constexpr uint32_t kError = 3;
inline constexpr uint8_t kHostToDevice = 0x27;
inline constexpr uint8_t kDeviceToHost = 0x34;
inline constexpr uint8_t kCommandBit = 0x80;
inline constexpr uint8_t kInterruptBit = 0x40;
inline constexpr uint8_t kDeviceLba = 0x40;    // device register: LBA addressing
inline constexpr uint8_t kDeviceForced = 0x80; // SMART READ DATA from flash
}  // namespace fis

// Command codes.
enum Command : uint8_t {
  kDeviceReset = 0x08,
  kReadNativeMaxExt = 0x27,
  kReadLogExt = 0x2F,
  kSetMaxExt = 0x37,
  kWriteLogExt = 0x3F,
  kDownloadMicrocode = 0x92,
  kSmart = 0xB0,
  kIdentifyDevice = 0xEC,
  kSecuritySetPassword = 0xF1,
  kSecurityErasePrepare = 0xF3,
  kSecurityEraseUnit = 0xF4,
};

// SMART subcommands (features) and the signature in LBA mid and high.
namespace smart {
inline constexpr uint8_t kReadData = 0xD0;
inline constexpr uint8_t kReadThresholds = 0xD1;
inline constexpr uint8_t kAutosave = 0xD2;
inline constexpr uint8_t kReadLog = 0xD5;
inline constexpr uint8_t kWriteLog = 0xD6;
inline constexpr uint8_t kEnable = 0xD8;
inline constexpr uint8_t kDisable = 0xD9;
inline constexpr uint8_t kReturnStatus = 0xDA;
inline constexpr uint8_t kSignatureMid = 0x4F;
inline constexpr uint8_t kSignatureHigh = 0xC2;
inline constexpr uint8_t kExceededMid = 0xF4;  // RETURN STATUS: a threshold is exceeded
inline constexpr uint8_t kExceededHigh = 0x2C;
// the SMART data sector
inline constexpr uint32_t kRevision = 0;       // u16
inline constexpr uint32_t kEntries = 2;
inline constexpr uint32_t kEntryBytes = 12;
inline constexpr uint32_t kEntryId = 0;
inline constexpr uint32_t kEntryFlags = 1;     // u16
inline constexpr uint32_t kEntryNormalized = 3;
inline constexpr uint32_t kEntryWorst = 4;
inline constexpr uint32_t kEntryRaw = 5;       // 6 raw bytes, then the vendor byte at 11
inline constexpr uint32_t kEntryRawBytes = 7;
inline constexpr uint32_t kEntryThreshold = 1; // the thresholds sector
inline constexpr uint32_t kOfflineStatus = 362;
inline constexpr uint32_t kSelfTestStatus = 363;
inline constexpr uint32_t kOfflineSeconds = 364;  // u16
inline constexpr uint32_t kOfflineCapability = 367;
inline constexpr uint32_t kSmartCapability = 368;  // u16
inline constexpr uint32_t kErrorLogging = 370;
inline constexpr uint32_t kShortTestMinutes = 372;
inline constexpr uint32_t kExtendedTestMinutes = 373;
inline constexpr uint32_t kChecksum = 511;
inline constexpr uint16_t kDataRevision = 0x0010;
static_assert(kEntries + 30 * kEntryBytes <= kOfflineStatus);
}  // namespace smart

// IDENTIFY DEVICE, by word.
namespace identify {
inline constexpr uint32_t kGeneral = 0;
inline constexpr uint32_t kSpecific = 2;
inline constexpr uint32_t kSerial = 10;        // 20 characters
inline constexpr uint32_t kSerialWords = 10;
inline constexpr uint32_t kFirmware = 23;      // 8 characters
inline constexpr uint32_t kFirmwareWords = 4;
inline constexpr uint32_t kModel = 27;         // 40 characters
inline constexpr uint32_t kModelWords = 20;
inline constexpr uint32_t kMaxMultiple = 47;
inline constexpr uint32_t kCapabilities = 49;
inline constexpr uint32_t kValidity = 53;
inline constexpr uint32_t kMultipleSetting = 59;
inline constexpr uint32_t kSectors28 = 60;     // two words
inline constexpr uint32_t kMultiwordDma = 63;
inline constexpr uint32_t kPioModes = 64;
inline constexpr uint32_t kCycleTimes = 65;    // 65-68
inline constexpr uint32_t kQueueDepth = 75;
inline constexpr uint32_t kSataCapabilities = 76;
inline constexpr uint32_t kSataFeatures = 78;
inline constexpr uint32_t kSataEnabled = 79;
inline constexpr uint32_t kMajorVersion = 80;
inline constexpr uint32_t kMinorVersion = 81;
inline constexpr uint32_t kCommandSets = 82;   // 82-84 supported, 85-87 enabled
inline constexpr uint32_t kApmLevel = 91;      // advanced power management level
inline constexpr uint32_t kUltraDma = 88;
inline constexpr uint32_t kEraseTime = 89;
inline constexpr uint32_t kEnhancedEraseTime = 90;
inline constexpr uint32_t kMasterPasswordId = 92;
inline constexpr uint32_t kHardwareReset = 93;
inline constexpr uint32_t kSectors48 = 100;    // four words: the current maximum
inline constexpr uint32_t kSectorSize = 106;
inline constexpr uint32_t kWorldWideName = 108;  // four words, most significant first
inline constexpr uint32_t kLogicalSectorWords = 117;  // two words
inline constexpr uint32_t kCommandSets2 = 119;  // 119 supported, 120 enabled
inline constexpr uint32_t kSecurity = 128;
inline constexpr uint32_t kFormFactor = 168;
inline constexpr uint32_t kDataSetManagement = 169;
inline constexpr uint32_t kSctTransport = 206;
inline constexpr uint32_t kRotationRate = 217;
inline constexpr uint32_t kIntegrity = 255;
inline constexpr uint8_t kChecksumSignature = 0xA5;
// word 128
inline constexpr uint16_t kSecuritySupported = 0x0001;
inline constexpr uint16_t kSecurityEnabled = 0x0002;
inline constexpr uint16_t kSecurityLocked = 0x0004;
inline constexpr uint16_t kSecurityFrozen = 0x0008;
inline constexpr uint16_t kSecurityCountExpired = 0x0010;
inline constexpr uint16_t kSecurityEnhancedErase = 0x0020;
}  // namespace identify

// SECURITY SET PASSWORD and SECURITY ERASE UNIT data (one sector).
namespace security {
inline constexpr uint32_t kControl = 0;        // u16
inline constexpr uint32_t kPassword = 2;
inline constexpr uint32_t kPasswordBytes = 32;
inline constexpr uint16_t kMaster = 0x0001;    // control bit 0: the master password
inline constexpr uint16_t kEnhanced = 0x0002;  // erase: enhanced erase
inline constexpr uint32_t kMaxWrongPasswords = 5;
}  // namespace security

// Log addresses and what the module keeps in them.
namespace logs {
inline constexpr uint8_t kDirectory = 0x00;
inline constexpr uint8_t kSummaryError = 0x01;
inline constexpr uint8_t kComprehensiveError = 0x02;
inline constexpr uint8_t kExtComprehensiveError = 0x03;
inline constexpr uint8_t kDeviceStatistics = 0x04;
inline constexpr uint8_t kSelfTest = 0x06;
inline constexpr uint8_t kExtSelfTest = 0x07;
inline constexpr uint8_t kSelectiveSelfTest = 0x09;
inline constexpr uint8_t kNcqError = 0x10;
inline constexpr uint8_t kPhyEvents = 0x11;
inline constexpr uint8_t kFirstHostLog = 0x80;
inline constexpr uint8_t kLastHostLog = 0x9F;
inline constexpr uint8_t kGrownBadBlocks = 0xA8;
inline constexpr uint8_t kSsdEventLog = 0xB7;
inline constexpr uint8_t kSctCommandStatus = 0xE0;
inline constexpr uint32_t kSctCommandSectorsMax = 2;  // a command block written to it: one sector, or padded to two
inline constexpr uint8_t kSctData = 0xE1;
inline constexpr uint8_t kSystemEventLog = 0xFB;
inline constexpr uint32_t kHostLogPages = 16;
inline constexpr uint32_t kSystemEventPages = 65536;       // 32 MiB
inline constexpr uint32_t kSystemEventPagesSmall = 32768;  // 16 MiB: model type 4 or 8, "1591"
inline constexpr uint16_t kDirectoryVersion = 0x0001;
}  // namespace logs

// The SCT command sector (written to log 0xE0) and status sector (read from it).
namespace sct {
inline constexpr uint32_t kAction = 0;         // u16
inline constexpr uint32_t kFunction = 2;       // u16
inline constexpr uint32_t kStatusFormat = 0;   // u16: 3
inline constexpr uint32_t kStatusSctVersion = 2;
inline constexpr uint32_t kStatusSpecVersion = 4;
inline constexpr uint32_t kStatusFlags = 6;    // u32
inline constexpr uint32_t kDeviceState = 10;
inline constexpr uint32_t kExtendedStatus = 14;  // u16
inline constexpr uint32_t kLastAction = 16;    // u16
inline constexpr uint32_t kLastFunction = 18;  // u16
inline constexpr uint32_t kTemperature = 200;  // current, degrees C
inline constexpr uint32_t kMaxTemperature = 203;  // lifetime
inline constexpr uint16_t kFormatVersion = 3;
inline constexpr uint8_t kStateReady = 0;      // active, waiting for a command
inline constexpr uint8_t kStateBusy = 5;       // an SCT command is executing
// Extended status codes: the first are the standard's, the 0xC0xx the module firmware's.
inline constexpr uint16_t kComplete = 0x0000;
inline constexpr uint16_t kInvalidFunction = 0x0001;
inline constexpr uint16_t kUnknownAction = 0xC000;    // no such action
inline constexpr uint16_t kNotUnlocked = 0xC001;      // the action needs an unlocked module
inline constexpr uint16_t kUnlockRefused = 0xC002;    // wrong response, or no challenge out
inline constexpr uint16_t kSecurityLocked = 0xC003;   // the module is ATA security locked
inline constexpr uint16_t kDataPhaseRefused = 0xC004; // a data transfer that was not due
inline constexpr uint16_t kWriteRefused = 0xC005;     // the module would not store the data
inline constexpr uint16_t kReadFault = 0xC006;        // the flash could not be read (a panic dump)
}  // namespace sct

// The vendor SCT actions.
namespace vendor {
inline constexpr uint16_t kDiagInfo = 0xC000;
inline constexpr uint16_t kUnlock = 0xC001;
inline constexpr uint16_t kDiagIdentify = 0xC002;
inline constexpr uint16_t kPacked = 0xC003;
inline constexpr uint16_t kConfigImage = 0xC008;
inline constexpr uint16_t kFormatSettingsWrite = 0xC60B;
inline constexpr uint16_t kFormatSettingsRead = 0xC60C;
inline constexpr uint32_t kUnlockLevel = 2;        // the function code's low byte
inline constexpr uint32_t kResponse = 256;         // unlock: the encrypted challenge
inline constexpr uint32_t kFormatValue = 62;       // 0xC60B: u32 in the command sector
inline constexpr uint16_t kPanicLog = 0xC601;      // function 0 query, 1 extract, 2 erase
inline constexpr uint16_t kPageConversion = 0xC00B;
inline constexpr uint16_t kBlockTables = 0xC03B;   // function 0 PE table, 1 mapping table
inline constexpr uint16_t kRawPageRead = 0xC00C;   // function 1
}  // namespace vendor

// The panic log action (0xC601): the command sector, the query answer (1024
// bytes: four 36-byte slot headers from 0) and the dump.
namespace panic {
inline constexpr uint32_t kQueryParameter = 4;  // u8, function 0: 1
inline constexpr uint32_t kSlot = 6;            // u8, functions 1 and 2: the panic slot
inline constexpr uint32_t kQueryBytes = 1024;
inline constexpr uint32_t kEraseBytes = 1024;   // read after an erase
inline constexpr uint32_t kHeaderBytes = 36;
inline constexpr uint32_t kPrefix = 0;          // u32[2]
inline constexpr uint32_t kTransaction = 8;     // u32
inline constexpr uint32_t kSyncCode = 12;
inline constexpr uint32_t kUnlockLevel = 16;
inline constexpr uint32_t kHeaderSize = 20;
inline constexpr uint32_t kDataSize = 24;
inline constexpr uint32_t kEPageAddress = 28;
inline constexpr uint32_t kValid = 32;          // u16
inline constexpr uint32_t kCrc = 34;            // u16
static_assert(kCrc + 2 == kHeaderBytes && 4 * kHeaderBytes <= kQueryBytes);
}  // namespace panic

// The raw-flash actions: the conversion of a physical page address
// (0xC00B: the low and high words at 8 and 12 of the command sector; 512
// bytes back, the first 22 the address: an 8-byte header, then seven u16
// fields at 8-20, the R-block at 16), the block tables (0xC03B: the R-block
// in bytes 4 and 5 (bits 8-10); the PE table 512 bytes, mapping state at 2
// and block type at 3; the mapping table 1024 bytes of u16 entries) and the
// raw page read (0xC00C function 1: the 14 field bytes at 8-21; a flash
// page of data back).
namespace raw {
inline constexpr uint32_t kAddressLow = 8;      // u32, 0xC00B
inline constexpr uint32_t kAddressHigh = 12;    // u32
inline constexpr uint32_t kConversionBytes = 512;
inline constexpr uint32_t kFields = 8;          // the seven u16 fields of the address
inline constexpr uint32_t kFieldBytes = 14;
inline constexpr uint32_t kRBlockField = 16;    // u16, within the address
inline constexpr uint32_t kBlockLow = 4;        // u8, 0xC03B
inline constexpr uint32_t kBlockHigh = 5;       // u8, bits 8-10
inline constexpr uint32_t kPeTableBytes = 512;
inline constexpr uint32_t kMappingState = 2;
inline constexpr uint32_t kBlockType = 3;
inline constexpr uint32_t kMappingTableBytes = 1024;
inline constexpr uint32_t kMappingEntries = 256;  // the entries the index reaches (bytes 0-511)
inline constexpr uint32_t kReadFields = 8;      // 0xC00C: the 14 field bytes
inline constexpr uint32_t kSupportedPages = 0x40000000;
inline constexpr uint16_t kRBlocks = 0x800;
}  // namespace raw

// The diagnostic information block (action 0xC000, 512 bytes).
namespace diag_info {
inline constexpr uint32_t kBytes = 512;
inline constexpr uint32_t kUniqueId = 0;       // u64: the world wide name
inline constexpr uint32_t kCapacity = 8;       // u64: native sectors
inline constexpr uint32_t kConfigId = 16;      // four ASCII characters
inline constexpr uint32_t kModelType = 20;     // u32 holding one ASCII digit
inline constexpr uint32_t kSerial = 24;        // 20 characters
inline constexpr uint32_t kFirmware = 44;      // 8 characters
inline constexpr uint32_t kEraseCount = 52;    // u32
inline constexpr uint32_t kChallenge = 256;
inline constexpr uint32_t kChallengeBytes = 256;
static_assert(kChallenge + kChallengeBytes == kBytes);
}  // namespace diag_info

// The diagnostic identify data (action 0xC002, 512 bytes).
namespace diag_identify {
inline constexpr uint32_t kBytes = 512;
inline constexpr uint32_t kModel = 0;          // 40 characters
inline constexpr uint32_t kSerial = 40;        // 20 characters
inline constexpr uint32_t kBlockLength = 60;   // u32
inline constexpr uint32_t kPageBytes = 64;     // u16: the flash page size
inline constexpr uint32_t kPagesPerBlock = 66; // u16
inline constexpr uint32_t kNativeSectors = 256;  // u32
inline constexpr uint32_t kMaxSectors = 260;     // u32
inline constexpr uint16_t kFlashPageBytes = 16384;
inline constexpr uint16_t kFlashPagesPerBlock = 256;
}  // namespace diag_identify

// The module configuration image (action 0xC008): read whole, written from byte 512.
namespace config_image {
inline constexpr uint32_t kBytes = 3584;
inline constexpr uint32_t kWritable = 512;     // a write replaces the bytes from here
inline constexpr uint32_t kWriteBytes = kBytes - kWritable;  // 3072
inline constexpr uint32_t kSignature = 0;      // "CDU1": the image's own tag
inline constexpr uint32_t kModelType = 4;      // ASCII digit
inline constexpr uint32_t kConfigId = 8;       // four ASCII characters
inline constexpr uint32_t kMainCustomerId = 1544;  // u32
inline constexpr uint32_t kSubCustomerId = 1548;   // u32
inline constexpr uint32_t kMediaEraseMode = 1698;  // low two bits: 1 standard, 2 extended
inline constexpr uint32_t kDlcControl = 1710;  // u16
inline constexpr uint32_t kSectorSize = 1712;  // u16
inline constexpr uint32_t kMaxLbaFlagA = 1714;
inline constexpr uint32_t kMaxLbaFlagB = 1715;
inline constexpr uint32_t kMaxLbaValue = 1716;  // u32: the sectors the module reports
inline constexpr uint32_t kDlcStateA = 2624;
inline constexpr uint32_t kDlcStateB = 2625;
static_assert(kDlcStateB < kBytes && kWriteBytes == 3072);
}  // namespace config_image

// The format settings record (read 0xC60C whole, written 0xC60B from byte 0).
namespace format_settings {
inline constexpr uint32_t kBytes = 2048;
inline constexpr uint32_t kWriteBytes = 1536;
inline constexpr uint32_t kSectorSize = 4;     // u16
inline constexpr uint32_t kFormatFlag = 27;
inline constexpr uint32_t kMaxLbaValue = 62;   // u32
}  // namespace format_settings

// Where a firmware image names its revision: the eight characters after
// this tag. An image without it keeps the module's revision.
inline constexpr char kRevisionTag[] = "ZK-FWREV";
inline constexpr uint32_t kRevisionTagBytes = 8;
inline constexpr uint32_t kRevisionBytes = 8;

}  // namespace emu::ata
