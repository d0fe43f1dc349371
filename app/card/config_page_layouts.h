// The fields the application reads from configuration pages itself: the
// page header, manufacturing pages 4, 6 and 10, IO unit page 8 and the
// extended manufacturing page 221. Offsets count from the page's start,
// header included; every field is little-endian. A page shorter than a
// field it is read for counts as a page that could not be read
// (PageHolds).
#pragma once

#include <cstddef>
#include <cstdint>

// True when a page of `size` bytes holds `bytes` bytes from `offset`.
inline bool PageHolds(uint32_t size, size_t offset, size_t bytes) {
  return offset <= size && bytes <= size - offset;
}

// Page types and numbers the application names.
enum : uint8_t {
  kCfgPageTypeIoUnit = 0,
  kCfgPageTypeIoc = 1,
  kCfgPageTypeManufacturing = 9,
  kCfgPageTypeExtended = 15,
  kCfgExtTypeSasDevice = 18,
  kCfgExtTypeManufacturing = 26,
};

// The header as the page buffer carries it.
namespace cfg_page_header {
inline constexpr size_t kLength = 1;      // u8, 32-bit words (standard pages)
inline constexpr size_t kNumber = 2;      // u8
inline constexpr size_t kType = 3;        // u8, 15 = extended page
inline constexpr size_t kExtLength = 4;   // u16, 32-bit words (extended pages)
inline constexpr size_t kExtType = 6;     // u8
inline constexpr uint32_t kSize = 4;
inline constexpr uint32_t kExtSize = 8;
}  // namespace cfg_page_header

// Manufacturing page 10: the board's identity and health settings.
namespace mfg_page10 {
inline constexpr uint8_t kNumber = 10;
inline constexpr size_t kSignature = 4;        // u8
inline constexpr uint8_t kSignatureValue = 0x80;
inline constexpr size_t kBoardType = 5;        // u8, 0: from the PCI subsystem ID
inline constexpr size_t kBoardFlags = 24;      // u32
inline constexpr uint32_t kVolumeModeMask = 0x3;
inline constexpr uint32_t kVolumeModeUnconfigured = 1;
inline constexpr uint32_t kFlagNoSuperCap = 0x08;
inline constexpr size_t kLifeLeftWarning = 56; // u8
inline constexpr size_t kLifeLeftError = 57;   // u8
}  // namespace mfg_page10

// Manufacturing page 6: which power signals the board has fitted.
namespace mfg_page6 {
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
}  // namespace mfg_page6

// Manufacturing page 4: the volume attributes the volume operations keep.
namespace mfg_page4 {
inline constexpr uint8_t kNumber = 4;
inline constexpr size_t kMemberCount = 105;  // u8
inline constexpr size_t kDeviceCount = 106;  // u8
// The page address the volume operations write the page back with.
inline constexpr uint32_t kWriteAddress = 4;
}  // namespace mfg_page4

// IO unit page 8: the temperature thresholds, at two places that the board
// types read.
namespace io_unit_page8 {
inline constexpr uint8_t kNumber = 8;
inline constexpr size_t kTempWarningLow = 44;   // u16, board types 1, 2, 6, 9
inline constexpr size_t kTempErrorLow = 46;     // u16
inline constexpr size_t kTempWarningHigh = 92;  // u16, board types 3, 7, 8, 10, 11, 12
inline constexpr size_t kTempErrorHigh = 94;    // u16
}  // namespace io_unit_page8

// Extended manufacturing page 221: the modules' trim counts.
namespace ext_page221 {
inline constexpr uint8_t kNumber = 221;
inline constexpr size_t kTrimCounts = 16;  // u64 per slot
inline constexpr size_t kTrimCountSize = 8;
}  // namespace ext_page221

inline constexpr uint8_t kExtPage222Number = 222;
inline constexpr uint8_t kExtPage223Number = 223;

// IOC page 6 (the RAID limits) and SAS device page 0 are laid out in
// ctl/pages/controller_limit_pages.h and ctl/pages/sas_device_page0.h.
inline constexpr uint8_t kIocPage6Number = 6;
inline constexpr uint32_t kIocPage6ReadSize = 60;
inline constexpr uint8_t kSasDevicePage0Number = 0;
// The page address of SAS device page 0 by DevHandle.
inline constexpr uint32_t kSasDeviceAddressByHandle = 0x20000000;
// Bit 0 of the u32 at byte 32: the page describes a device.
inline constexpr uint32_t kSasDeviceValid = 0x1;
