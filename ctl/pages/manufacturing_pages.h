// Fields of the manufacturing pages (page type 9) that the library, the card
// library and the application read. Offsets count from the page's start,
// header included; every field is little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

// Page 0: the board's identity texts, 16 characters each, not terminated
// when all 16 are used.
namespace manufacturing_page0 {
inline constexpr uint8_t kNumber = 0;
inline constexpr size_t kChipName = 4;       // char[16]
inline constexpr size_t kBoardName = 28;     // char[16]
inline constexpr size_t kBoardAssembly = 44; // char[16]
inline constexpr size_t kBoardTracer = 60;   // char[16]
inline constexpr size_t kNameSize = 16;
// A page that reaches the end of the tracer number holds every text.
inline constexpr uint32_t kTextsEnd = kBoardTracer + kNameSize;
// The chip name prefix that marks a CHIPAB controller as the card's.
inline constexpr char kCardChipPrefix[] = "6202";
inline constexpr size_t kCardChipPrefixSize = 4;
}  // namespace manufacturing_page0

// Page 1: the card's Vital Product Data (PCI VPD resources), kept in the
// controller's NVRAM.
namespace manufacturing_page1 {
inline constexpr uint8_t kNumber = 1;
inline constexpr size_t kVpdArea = 4;
inline constexpr uint32_t kVpdAreaSize = 256;
inline constexpr uint32_t kSize = 260;  // the header and the VPD area
static_assert(kVpdArea + kVpdAreaSize == kSize);
}  // namespace manufacturing_page1

// Page 4: the RAID options the volume checks read, and the volume
// attributes that the application's volume operations keep.
namespace manufacturing_page4 {
inline constexpr uint8_t kNumber = 4;
inline constexpr size_t kFlags = 8;          // u32
inline constexpr uint32_t kReadSize = 12;
inline constexpr uint32_t kMetadataSizeMask = 0x30000;
inline constexpr uint32_t kMediaMixAllowed = 0x4000;
inline constexpr uint32_t kProtocolMixAllowedSsd = 0x8000;
inline constexpr size_t kMemberCount = 105;  // u8
inline constexpr size_t kDeviceCount = 106;  // u8
// The page address the volume operations write the page back with.
inline constexpr uint32_t kWriteAddress = 4;
}  // namespace manufacturing_page4

// Page 5: the SAS address of each PHY of the controller, low word first;
// PHY 0's is the card's SAS address.
namespace manufacturing_page5 {
inline constexpr uint8_t kNumber = 5;
inline constexpr size_t kPhyCount = 4;         // u8
inline constexpr size_t kPhyEntries = 16;      // one 16-byte entry per PHY from here
inline constexpr size_t kPhyEntrySize = 16;
inline constexpr size_t kEntryAddressLow = 0;  // u32, within an entry: the PHY's SAS address
inline constexpr size_t kEntryAddressHigh = 4; // u32
inline constexpr size_t kSasAddressLow = 16;   // u32: PHY 0's, the card's SAS address
inline constexpr size_t kSasAddressHigh = 20;  // u32
static_assert(kSasAddressLow == kPhyEntries + kEntryAddressLow && kSasAddressHigh == kPhyEntries + kEntryAddressHigh);
}  // namespace manufacturing_page5

// Page 6: which power signals the board has fitted.
namespace manufacturing_page6 {
inline constexpr uint8_t kNumber = 6;
inline constexpr size_t kEntryCount = 4;        // u8
inline constexpr uint8_t kAuxPowerMinEntries = 25;   // more than 24 entries
inline constexpr uint8_t kBackupRailMinEntries = 24;
inline constexpr size_t kBackupRailId = 208;    // u8
inline constexpr uint8_t kBackupRailIdValue = 0x10;
inline constexpr size_t kBackupRailKind = 211;  // u8
inline constexpr uint8_t kBackupRailKindValue = 0xCA;
inline constexpr size_t kAuxPowerId = 216;      // u8
inline constexpr uint8_t kAuxPowerIdValue = 0x13;
}  // namespace manufacturing_page6

// Page 10: the board's identity, RAID options, SuperCap wear table and
// health settings. Byte 4 is the signature byte the card's readers check;
// the RAID limits read the u32 that starts there.
namespace manufacturing_page10 {
inline constexpr uint8_t kNumber = 10;
inline constexpr size_t kSignature = 4;        // u8
inline constexpr uint8_t kSignatureValue = 0x80;
inline constexpr size_t kRaid1eWord = 4;       // u32
inline constexpr size_t kBoardType = 5;        // u8, 0: from the PCI subsystem ID
inline constexpr size_t kOptions = 12;         // u32
inline constexpr uint32_t kOptRaid1eOddRefused = 0x2;
inline constexpr uint32_t kOptMarkType1 = 0x4;
inline constexpr uint32_t kOptFeature = 0x100;
inline constexpr uint32_t kOptFeatureNoMixCheck = 0x200;
inline constexpr uint32_t kOpt512Sectors = 0x2000;
inline constexpr size_t kBoardFlags = 24;      // u32
// The PCIe slot power: what the card is programmed to draw from its slot,
// in watts, and the value a new setting must exceed.
inline constexpr size_t kSlotPowerFloor = 44;  // u8
inline constexpr size_t kSlotPower = 45;       // u8
inline constexpr uint32_t kVolumeModeMask = 0x3;
inline constexpr uint32_t kVolumeModeUnconfigured = 1;
inline constexpr uint32_t kFlagNoSuperCap = 0x08;
inline constexpr uint32_t kFlagDlcSupported = 0x20;  // the controller firmware supports DLC
inline constexpr uint32_t kFlagDlcEnabled = 0x40;
// The SuperCap wear table.
inline constexpr size_t kWearIntervals = 48;   // u8, n
inline constexpr size_t kWearMargin = 49;      // u8, percent
inline constexpr size_t kWearFloor = 50;       // u16
inline constexpr size_t kWearStep = 54;        // u16, power-on hours per interval
inline constexpr size_t kLifeLeftWarning = 56; // u8
inline constexpr size_t kLifeLeftError = 57;   // u8
inline constexpr size_t kWearExpected = 60;    // u16[n + 1]
inline constexpr uint32_t kWearHeaderBytes = kWearStep + 2;
inline constexpr uint32_t kReadSize = 104;     // what the RAID limits read
static_assert(kWearIntervals > kBoardFlags + 4 && kLifeLeftWarning >= kWearStep + 2 && kWearExpected > kLifeLeftError);
}  // namespace manufacturing_page10
