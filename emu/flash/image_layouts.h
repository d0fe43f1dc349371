// Byte layouts of the flash images the emulated card holds: the controller
// firmware image (type 1) and the option-ROM region (type 2), a PCI expansion
// ROM chain (PCI Firmware Specification) followed by trailing components.
#pragma once

#include <cstdint>

namespace emu::images {

namespace firmware {
inline constexpr uint32_t kSignature0 = 0x00;
inline constexpr uint32_t kSignature1 = 0x04;
inline constexpr uint32_t kSignature2 = 0x08;
inline constexpr uint32_t kSignature3 = 0x0C;
inline constexpr uint32_t kSignature0Value = 0xEA000000;
inline constexpr uint32_t kSignature1Value = 0x5AFAA55A;
inline constexpr uint32_t kSignature2Value = 0xA55AFAA5;
inline constexpr uint32_t kSignature3Value = 0x5AA55AFA;
inline constexpr uint32_t kChecksumAdjust = 0x18;  // word chosen so all words sum to 0
inline constexpr uint32_t kFirmwareVersion = 0x14;
inline constexpr uint32_t kPackageVersion = 0x1C;
inline constexpr uint32_t kIdentifier0 = 0x20;
inline constexpr uint32_t kIdentifier1 = 0x22;
inline constexpr uint32_t kFirstExtImage = 0x30;
inline constexpr uint32_t kBoardName = 0xB0;
inline constexpr uint32_t kHeadBytes = 256;
// extended image header
inline constexpr uint32_t kExtType = 0x00;
inline constexpr uint32_t kExtSize = 0x08;
inline constexpr uint32_t kExtNext = 0x0C;
inline constexpr uint32_t kExtData = 0x40;
inline constexpr uint8_t kExtNvdata = 3;
inline constexpr uint8_t kExtBootLoader = 4;
inline constexpr uint8_t kExtInitialization = 5;
inline constexpr uint8_t kExtSupportedDevices = 7;
// supported devices (from the extended header)
inline constexpr uint32_t kDeviceCount = 0x42;
inline constexpr uint32_t kDeviceEntries = 0x48;
inline constexpr uint32_t kDeviceEntryBytes = 16;
inline constexpr uint32_t kEntryDeviceId = 0;
inline constexpr uint32_t kEntryLowestRevision = 8;
inline constexpr uint32_t kEntryHighestRevision = 9;
// NVDATA (from the extended header)
inline constexpr uint32_t kNvdataSignature = 0x40;
inline constexpr uint32_t kNvdataSignatureValue = 0x4E69636B;
inline constexpr uint32_t kNvdataVersion = 0x48;
inline constexpr uint32_t kNvdataProdIdWords = 0x5C;  // u16, words from +0x40
inline constexpr uint32_t kProdIdSignature = 0;
inline constexpr uint32_t kProdIdSignatureValue = 0x4672617A;
inline constexpr uint32_t kProdIdVendor = 4;    // 8 bytes
inline constexpr uint32_t kProdIdProduct = 12;  // 16 bytes
inline constexpr uint32_t kProdIdDeviceId = 42;
inline constexpr uint32_t kProdIdSubsystemId = 46;
}  // namespace firmware

namespace rom {
inline constexpr uint32_t kSignature = 0x00;  // 0x55 0xAA
inline constexpr uint16_t kSignatureValue = 0xAA55;
inline constexpr uint32_t kEfiSignature = 0x04;  // UEFI images: 0x0EF1
inline constexpr uint16_t kEfiSignatureValue = 0x0EF1;
inline constexpr uint32_t kPcirPointer = 0x18;
inline constexpr uint32_t kUnitBytes = 512;
// PCI data structure ("PCIR")
inline constexpr uint32_t kPcirSignature = 0x00;
inline constexpr uint32_t kPcirVendorId = 0x04;
inline constexpr uint32_t kPcirDeviceId = 0x06;
inline constexpr uint32_t kPcirLength = 0x0A;
inline constexpr uint32_t kPcirRevision = 0x0C;
inline constexpr uint32_t kPcirClassCode = 0x0D;
inline constexpr uint32_t kPcirImageLength = 0x10;  // 512-byte units
inline constexpr uint32_t kPcirCodeRevision = 0x12;
inline constexpr uint32_t kPcirCodeType = 0x14;
inline constexpr uint32_t kPcirIndicator = 0x15;
inline constexpr uint8_t kIndicatorLast = 0x80;
inline constexpr uint8_t kCodeTypeX86 = 0;
inline constexpr uint8_t kCodeTypeEfi = 3;
inline constexpr uint32_t kPcirSignatureValue = 0x52494350;  // "PCIR" read as a u32
inline constexpr uint32_t kPcirRevision2Bytes = 0x18;  // up to revision 2; the legacy version bytes follow
inline constexpr uint32_t kPcirRevision3Bytes = 0x1C;  // revision 3 structure; version bytes follow
// trailing components
inline constexpr uint32_t kComponentId = 0x38;
inline constexpr uint32_t kComponentGroup = 0x3B;  // upper four bits
inline constexpr uint32_t kComponentSize = 0x60;
inline constexpr uint8_t kComponentGroupBoot = 0x10;  // the two groups of components a region holds
inline constexpr uint8_t kComponentGroupUefi = 0x30;
}  // namespace rom

}  // namespace emu::images
