// Byte layouts of the configuration pages the emulated Corvexium generates:
// offsets from the start of the page as the controller returns it (header
// included) and the page sizes.
#pragma once

#include <cstdint>

namespace emu::pages {

// IO unit page 1 (type 0, number 1).
namespace io_unit1 {
inline constexpr uint32_t kBytes = 8;
inline constexpr uint8_t kVersion = 4;
inline constexpr uint32_t kFlags = 4;
inline constexpr uint32_t kFlagRaidDisabled = 0x40;  // integrated RAID disabled
}  // namespace io_unit1

// IO unit page 3 (type 0, number 3): the GPIO levels, one u16 each.
namespace io_unit3 {
inline constexpr uint8_t kVersion = 2;
inline constexpr uint32_t kGpioCount = 4;
inline constexpr uint32_t kGpios = 8;
inline constexpr uint32_t kGpioBytes = 2;
inline constexpr uint16_t kLevel = 0x0001;
inline constexpr uint32_t kBackupRailGpio = 24;  // the backup rail monitor: 0 the rail is good
inline constexpr uint32_t kAuxPowerGpio = 25;    // the auxiliary power input: 1 connected
inline constexpr uint32_t Bytes(uint32_t gpios) { return (kGpios + kGpioBytes * gpios + 3) & ~3u; }
}  // namespace io_unit3

// IO unit page 8 (type 0, number 8): the board's temperature thresholds,
// read at one of two places by board type.
namespace io_unit8 {
inline constexpr uint8_t kVersion = 1;
inline constexpr uint32_t kBytes = 96;
inline constexpr uint32_t kSensors = 12;
inline constexpr uint32_t kWarningSmall = 44;   // u16, boards of types 1, 2, 6 and 9
inline constexpr uint32_t kErrorSmall = 46;
inline constexpr uint32_t kWarningLarge = 92;   // u16, boards of types 3, 7, 8, 10, 11 and 12
inline constexpr uint32_t kErrorLarge = 94;
static_assert(kErrorLarge + 2 == kBytes);
}  // namespace io_unit8

// IO unit page 7 (type 0, number 7).
namespace io_unit7 {
inline constexpr uint32_t kBytes = 24;
inline constexpr uint8_t kVersion = 2;
inline constexpr uint32_t kPcieWidth = 6;
inline constexpr uint32_t kPcieSpeed = 7;       // 0 2.5 Gbps, 1 5.0 Gbps, 2 8.0 Gbps
inline constexpr uint32_t kProcessorState = 8;
inline constexpr uint32_t kPowerManagementCapabilities = 12;
inline constexpr uint32_t kIocTemperature = 16;
inline constexpr uint32_t kTemperatureUnits = 18;  // 2 = degrees Celsius
inline constexpr uint32_t kIocSpeed = 19;          // 1 = full speed
inline constexpr uint32_t kBoardTemperature = 20;
inline constexpr uint32_t kBoardTemperatureUnits = 22;
}  // namespace io_unit7

// IOC page 1 (type 1, number 1): interrupt coalescing and the PCI location.
namespace ioc1 {
inline constexpr uint32_t kBytes = 24;
inline constexpr uint8_t kVersion = 5;
inline constexpr uint32_t kFlags = 4;              // u32
inline constexpr uint32_t kCoalescingTimeout = 8;  // u32
inline constexpr uint32_t kCoalescingDepth = 12;
inline constexpr uint32_t kPciSlot = 13;           // 0xFF: not known
inline constexpr uint32_t kPciBus = 14;
inline constexpr uint32_t kPciDomainSegment = 15;
static_assert(kPciDomainSegment < kBytes);
}  // namespace ioc1

// Manufacturing page 0 (type 9, number 0).
namespace mfg0 {
inline constexpr uint32_t kBytes = 76;
inline constexpr uint8_t kVersion = 0;
inline constexpr uint32_t kChipName = 4;
inline constexpr uint32_t kChipNameBytes = 16;
inline constexpr uint32_t kChipRevision = 20;
inline constexpr uint32_t kChipRevisionBytes = 8;
inline constexpr uint32_t kBoardName = 28;
inline constexpr uint32_t kBoardNameBytes = 16;
inline constexpr uint32_t kBoardAssembly = 44;
inline constexpr uint32_t kBoardAssemblyBytes = 16;
inline constexpr uint32_t kBoardTracer = 60;
inline constexpr uint32_t kBoardTracerBytes = 16;
static_assert(kBoardTracer + kBoardTracerBytes == kBytes);
}  // namespace mfg0

// Manufacturing page 1 (type 9, number 1): the card's Vital Product Data,
// PCI VPD resources in 256 bytes after the header.
namespace mfg1 {
inline constexpr uint32_t kBytes = 260;
inline constexpr uint8_t kVersion = 1;
inline constexpr uint32_t kVpd = 4;
inline constexpr uint32_t kVpdBytes = 256;
static_assert(kVpd + kVpdBytes == kBytes);
inline constexpr uint8_t kTagIdentifier = 0x82;  // large resource: the product name
inline constexpr uint8_t kTagReadOnly = 0x90;    // large resource: keywords
inline constexpr uint8_t kTagReadWrite = 0x91;   // large resource: keywords the field may change
inline constexpr uint32_t kAssetTagBytes = 8;    // YA, blank until a user sets it
inline constexpr uint32_t kRemainingBytes = 16;  // RW, the read-write area left free
inline constexpr uint8_t kTagEnd = 0x78;         // small resource: the end
}  // namespace mfg1

// Manufacturing page 5 (type 9, number 5): the SAS addresses of the phys.
namespace mfg5 {
inline constexpr uint32_t kPhys = 8;
inline constexpr uint32_t kPhyEntry = 16;   // first phy entry
inline constexpr uint32_t kPhyEntryBytes = 16;
inline constexpr uint32_t kBytes = kPhyEntry + kPhys * kPhyEntryBytes;
inline constexpr uint8_t kVersion = 5;
inline constexpr uint32_t kNumPhys = 4;
inline constexpr uint32_t kEntrySasAddress = 0;  // u64, within an entry
inline constexpr uint32_t kEntryDeviceName = 8;  // u64
inline constexpr uint32_t kSasAddress = kPhyEntry + kEntrySasAddress;  // the card's SAS address
static_assert(kSasAddress == 16 && kBytes >= 32);
}  // namespace mfg5

// Manufacturing page 6 (type 9, number 6): the board's GPIO functions, one
// 8-byte entry per GPIO from 16. The backup rail monitor's entry (24) holds
// function 0x10 and the marker 0xCA at +3, the auxiliary power input's (25)
// function 0x13: a board with them fitted.
namespace mfg6 {
inline constexpr uint8_t kVersion = 2;
inline constexpr uint32_t kEntryCount = 4;
inline constexpr uint32_t kEntries = 16;
inline constexpr uint32_t kEntryBytes = 8;
inline constexpr uint32_t kFunction = 0;
inline constexpr uint32_t kMarker = 3;
inline constexpr uint32_t kMinimumEntries = 26;  // the page always reaches the auxiliary power entry
inline constexpr uint8_t kBackupRailFunction = 0x10;
inline constexpr uint8_t kBackupRailMarker = 0xCA;
inline constexpr uint8_t kAuxPowerFunction = 0x13;
inline constexpr uint32_t Bytes(uint32_t entries) {
  return kEntries + kEntryBytes * (entries < kMinimumEntries ? kMinimumEntries : entries);
}
static_assert(kEntries + 24 * kEntryBytes == 208 && kEntries + 25 * kEntryBytes == 216);
}  // namespace mfg6

// Manufacturing page 10 (type 9, number 10): board type, board flags, the
// module life thresholds and the SuperCap wear table.
namespace mfg10 {
inline constexpr uint32_t kBytes = 104;
inline constexpr uint8_t kVersion = 1;
inline constexpr uint32_t kSignature = 4;       // 0x80: the page is valid
inline constexpr uint8_t kSignatureValid = 0x80;
inline constexpr uint32_t kBoardType = 5;
inline constexpr uint32_t kVolumeCheckWord = 4;  // u32 (signature and board type): the RAID1E
                                                // option needs it non-zero
inline constexpr uint32_t kFeatureFlags = 12;   // u32: 0x2 RAID1E odd member counts refused,
                                                // 0x4 mark RAID1 volumes, 0x100/0x200 the OEM
                                                // feature, 0x2000 no 4K sector volumes
inline constexpr uint32_t kBoardFlags = 24;     // u32: bits 0-1 volume mode (1 = unconfigured),
                                                // 0x08 no SuperCap, 0x20 DLC supported, 0x40 DLC on
inline constexpr uint32_t kSlotPowerFloor = 44;  // a new slot power must exceed it (24 W)
inline constexpr uint32_t kSlotPower = 45;       // the programmed PCIe slot power, watts (25)
inline constexpr uint8_t kDefaultSlotPowerFloor = 24;
inline constexpr uint8_t kDefaultSlotPower = 25;
inline constexpr uint32_t kScapIntervals = 48;
inline constexpr uint32_t kScapMargin = 49;     // percent
inline constexpr uint32_t kScapFloor = 50;      // u16
inline constexpr uint32_t kScapStepHours = 54;  // u16
inline constexpr uint32_t kLifeWarning = 56;
inline constexpr uint32_t kLifeError = 57;
inline constexpr uint32_t kScapTable = 60;      // u16 per interval boundary
inline constexpr uint32_t kScapTableMaxEntries = (kBytes - kScapTable) / 2;  // 22
static_assert(kScapTable + 2 * kScapTableMaxEntries <= kBytes);
}  // namespace mfg10

// The extended manufacturing pages (type 15, extended type 0x1A), after
// their 8-byte header.
namespace ext_mfg {
inline constexpr uint8_t kVersion = 1;
inline constexpr uint8_t kTrimPage = 221;
inline constexpr uint8_t kPowerPage = 222;
inline constexpr uint8_t kVersionPage = 223;
// Page 221: the modules' trim counts, a u64 per slot.
inline constexpr uint32_t kTrimSlots = 8;        // u8: the slots that follow
inline constexpr uint32_t kTrimCounts = 16;
inline constexpr uint32_t kTrimBytes = kTrimCounts + 8 * 8;
// Page 222: the board's power sensors, u32 in milliwatts.
inline constexpr uint32_t kPower12v = 8;
inline constexpr uint32_t kPower3v3 = 12;
inline constexpr uint32_t kPowerTotal = 16;
inline constexpr uint32_t kPowerBytes = 24;
// Page 223: the versions in flash and the modules' configuration
// identifiers, a u32 per slot packed as hexadecimal digits (0: not recorded).
inline constexpr uint32_t kFirmwareVersion = 8;
inline constexpr uint32_t kLegacyBiosVersion = 12;
inline constexpr uint32_t kUefiVersion = 16;
inline constexpr uint32_t kPackageVersion = 20;
inline constexpr uint32_t kIdentifiers = 24;
inline constexpr uint32_t kVersionBytes = kIdentifiers + 4 * 8;
static_assert(kTrimBytes == 80 && kVersionBytes == 56);
}  // namespace ext_mfg

}  // namespace emu::pages
