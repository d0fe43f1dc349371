// Byte layouts of the SAS extended pages (page type 15) the emulated
// Corvexium keeps or generates: offsets from the start of the page as the
// controller returns it (the 8-byte extended header included) and sizes.
#pragma once

#include <cstdint>

namespace emu::pages {

// Every extended page: version, reserved, number, type 15, then the
// extended length (u16, words) and the extended type.
namespace ext {
inline constexpr uint32_t kVersion = 0;
inline constexpr uint32_t kNumber = 2;
inline constexpr uint32_t kType = 3;
inline constexpr uint32_t kLength = 4;
inline constexpr uint32_t kExtType = 6;
inline constexpr uint32_t kHeaderBytes = 8;
}  // namespace ext

// Link rates (a byte: logical rate in the high nibble, physical in the low).
inline constexpr uint8_t kRateUnknown = 0x00;
inline constexpr uint8_t kRatePhyDisabled = 0x01;
inline constexpr uint8_t kRate6Gbps = 0x0A;
inline constexpr uint8_t kRateBoth6Gbps = 0xAA;
inline constexpr uint8_t kRatesDisabled = 0x11;
inline constexpr uint8_t kMaxMinRate = 0xA8;  // programmable 1.5 to 6.0 Gbps

// SAS IO unit page 0 (status): one 20-byte entry per phy.
namespace sas_io_unit0 {
inline constexpr uint8_t kVersion = 5;
inline constexpr uint32_t kNumPhys = 12;
inline constexpr uint32_t kPhyData = 16;
inline constexpr uint32_t kPhyBytes = 20;
inline constexpr uint32_t kPort = 0;
inline constexpr uint32_t kPortFlags = 1;
inline constexpr uint32_t kPhyFlags = 2;
inline constexpr uint32_t kNegotiatedRate = 3;
inline constexpr uint32_t kControllerPhyDeviceInfo = 4;
inline constexpr uint32_t kAttachedDevHandle = 8;
inline constexpr uint32_t kControllerDevHandle = 10;
inline constexpr uint32_t kDiscoveryStatus = 12;
inline constexpr uint32_t Bytes(uint32_t phys) { return kPhyData + phys * kPhyBytes; }
}  // namespace sas_io_unit0

// SAS IO unit page 1 (settings): one 12-byte entry per phy; PhyFlags bit
// 0x08 takes the phy (and the module on it) off the bus.
namespace sas_io_unit1 {
inline constexpr uint8_t kVersion = 9;
inline constexpr uint32_t kControlFlags = 8;
inline constexpr uint32_t kNarrowQueueDepth = 10;
inline constexpr uint32_t kWideQueueDepth = 14;
inline constexpr uint32_t kNumPhys = 16;
inline constexpr uint32_t kSataQueueDepth = 17;
inline constexpr uint32_t kReportMissingDelay = 18;
inline constexpr uint32_t kIoMissingDelay = 19;
inline constexpr uint32_t kPhyData = 20;
inline constexpr uint32_t kPhyBytes = 12;
inline constexpr uint32_t kPort = 0;
inline constexpr uint32_t kPortFlags = 1;
inline constexpr uint32_t kPhyFlags = 2;
inline constexpr uint32_t kMaxMinRate = 3;
inline constexpr uint32_t kControllerPhyDeviceInfo = 4;
inline constexpr uint32_t kMaxConnectTime = 8;
inline constexpr uint8_t kPhyDisabled = 0x08;
inline constexpr uint32_t Bytes(uint32_t phys) { return kPhyData + phys * kPhyBytes; }
static_assert(kPhyData + kPhyFlags == 22);
}  // namespace sas_io_unit1

// SAS IO unit page 4 (spin-up): four group parameters, a delay per phy.
namespace sas_io_unit4 {
inline constexpr uint8_t kVersion = 2;
inline constexpr uint32_t kSpinupGroups = 8;  // 4 × 4 bytes: flags, max spin-up, delay, reserved
inline constexpr uint32_t kBootDeviceWait = 36;
inline constexpr uint32_t kNumPhys = 39;
inline constexpr uint32_t kPhyDelay = 40;
inline constexpr uint32_t Bytes(uint32_t phys) { return kPhyDelay + ((phys + 3) & ~3u); }
}  // namespace sas_io_unit4

// SAS IO unit page 5 (phy power management): one 12-byte entry per phy.
namespace sas_io_unit5 {
inline constexpr uint8_t kVersion = 1;
inline constexpr uint32_t kNumPhys = 8;
inline constexpr uint32_t kPhyData = 16;
inline constexpr uint32_t kPhyBytes = 12;
inline constexpr uint32_t kControlFlags = 0;        // 0x1 SATA partial, 0x2 SATA slumber,
                                                    // 0x4 SAS partial, 0x8 SAS slumber enabled
inline constexpr uint32_t kInactivityExponent = 2;  // u16
inline constexpr uint32_t kSataPartialTimeout = 4;  // u16 each
inline constexpr uint32_t kSataSlumberTimeout = 6;
inline constexpr uint32_t kSasPartialTimeout = 8;
inline constexpr uint32_t kSasSlumberTimeout = 10;
inline constexpr uint32_t Bytes(uint32_t phys) { return kPhyData + phys * kPhyBytes; }
}  // namespace sas_io_unit5

// SAS device page 0: one per end device, by DevHandle.
namespace sas_device0 {
inline constexpr uint8_t kVersion = 8;
inline constexpr uint32_t kBytes = 56;
inline constexpr uint32_t kSlot = 8;
inline constexpr uint32_t kEnclosureHandle = 10;
inline constexpr uint32_t kSasAddress = 12;
inline constexpr uint32_t kParentDevHandle = 20;
inline constexpr uint32_t kPhyNum = 22;
inline constexpr uint32_t kAccessStatus = 23;
inline constexpr uint32_t kDevHandle = 24;
inline constexpr uint32_t kAttachedPhy = 26;
inline constexpr uint32_t kDeviceInfo = 28;
inline constexpr uint32_t kFlags = 32;
inline constexpr uint32_t kPhysicalPort = 34;
inline constexpr uint32_t kMaxPortConnections = 35;
inline constexpr uint32_t kDeviceName = 36;
static_assert(kDeviceName + 8 <= kBytes);
}  // namespace sas_device0

// SAS device page 1: the device's initial register FIS.
namespace sas_device1 {
inline constexpr uint8_t kVersion = 1;
inline constexpr uint32_t kBytes = 48;
inline constexpr uint32_t kSasAddress = 12;
inline constexpr uint32_t kDevHandle = 24;
inline constexpr uint32_t kInitialFis = 28;
inline constexpr uint32_t kFisBytes = 20;
static_assert(kInitialFis + kFisBytes == kBytes);
}  // namespace sas_device1

// SAS phy page 0: by phy number.
namespace sas_phy0 {
inline constexpr uint8_t kVersion = 3;
inline constexpr uint32_t kBytes = 32;
inline constexpr uint32_t kOwnerDevHandle = 8;
inline constexpr uint32_t kAttachedDevHandle = 12;
inline constexpr uint32_t kAttachedPhy = 14;
inline constexpr uint32_t kAttachedPhyInfo = 16;
inline constexpr uint32_t kProgrammedRate = 20;
inline constexpr uint32_t kHwRate = 21;
inline constexpr uint32_t kChangeCount = 22;
inline constexpr uint32_t kFlags = 23;
inline constexpr uint32_t kPhyInfo = 24;
inline constexpr uint32_t kNegotiatedRate = 28;
inline constexpr uint32_t kPowerPartial = 0x08000000;  // PhyInfo power condition
inline constexpr uint32_t kPowerSlumber = 0x10000000;
}  // namespace sas_phy0

// SAS phy page 1: error counters, by phy number.
namespace sas_phy1 {
inline constexpr uint8_t kVersion = 1;
inline constexpr uint32_t kBytes = 28;
inline constexpr uint32_t kInvalidDwords = 12;
inline constexpr uint32_t kDisparityErrors = 16;
inline constexpr uint32_t kLossOfSync = 20;
inline constexpr uint32_t kPhyResetProblems = 24;
}  // namespace sas_phy1

// SAS enclosure page 0: by enclosure handle.
namespace enclosure0 {
inline constexpr uint8_t kVersion = 4;
inline constexpr uint32_t kBytes = 40;
inline constexpr uint32_t kLogicalId = 12;
inline constexpr uint32_t kFlags = 20;
inline constexpr uint32_t kEnclosureHandle = 22;
inline constexpr uint32_t kNumSlots = 24;
inline constexpr uint32_t kStartSlot = 26;
inline constexpr uint32_t kSepDevHandle = 30;
}  // namespace enclosure0

}  // namespace emu::pages
