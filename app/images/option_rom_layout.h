// The byte layout of the controller's BIOS region: a chain of PCI expansion
// ROM images (the PCI firmware standard's format: ROM header, then the PCI data
// structure it points to) followed by trailing components. Every field is
// little-endian and read through ctl/base/byte_order.h.
#pragma once

#include <cstdint>

namespace option_rom {

// True when `bytes` bytes from `offset` lie inside a region of `length`
// bytes. Every field a walk reads is checked with it first, so a pointer or
// length taken from the region never leads outside it.
inline bool InRegion(uint32_t length, uint64_t offset, uint64_t bytes) {
  return offset <= length && bytes <= length - offset;
}

// ROM header, from the image's start.
inline constexpr uint32_t kSignature = 0x00;        // u16
inline constexpr uint16_t kSignatureValue = 0xAA55;
inline constexpr uint32_t kPcirPointer = 0x18;      // u16, from the image's start
inline constexpr uint32_t kHeaderBytes = 0x1A;      // what a walk reads of the header
static_assert(kPcirPointer + 2 == kHeaderBytes);

// PCI data structure ("PCIR"), from the structure's start.
inline constexpr uint32_t kPcirSignature = 0x00;    // u32 "PCIR"
inline constexpr uint32_t kPcirSignatureValue = 0x52494350;
inline constexpr uint32_t kPcirDeviceId = 0x06;     // u16
inline constexpr uint32_t kPcirRevision = 0x0C;     // u8
inline constexpr uint32_t kPcirImageLength = 0x10;  // u16, in units of kImageUnit
inline constexpr uint32_t kPcirCodeRevision = 0x12; // u16
inline constexpr uint32_t kPcirCodeType = 0x14;     // u8
inline constexpr uint32_t kPcirIndicator = 0x15;    // u8
inline constexpr uint32_t kPcirFieldBytes = 0x16;   // what a walk reads of the structure
static_assert(kPcirIndicator + 1 == kPcirFieldBytes);

inline constexpr uint32_t kImageUnit = 512;
// The version walk ends at an image whose indicator has this bit; the
// lookups and the assembly end the chain at any non-zero indicator.
inline constexpr uint8_t kIndicatorLastImage = 0x80;

// The legacy version's low half: the two bytes right after the data
// structure, whose size depends on its revision.
inline constexpr uint8_t kPcirShortRevisionMax = 2;
inline constexpr uint32_t kLegacyVersionAfterShort = 24;  // revision 0 to 2
inline constexpr uint32_t kLegacyVersionAfterLong = 28;   // revision 3 and later

// Code types.
enum : uint8_t {
  kCodeTypeLegacy = 0,
  kCodeTypeOpenFirmware = 1,
  kCodeTypeUefi = 3,
  kCodeTypeSecondLegacy = 0xAA,  // lookups: the second legacy image
  kCodeTypeFirstImage = 0xFF,    // version walk: whatever the first image is
};

// Open Firmware "what" string: the marker "@(#)", then the version digits
// at fixed distances from the marker's first byte.
inline constexpr uint8_t kWhatMarker[4] = {0x40, 0x28, 0x23, 0x29};
inline constexpr uint32_t kWhatMajor = 26;       // one digit
inline constexpr uint32_t kWhatMinor = 28;       // two digits
inline constexpr uint32_t kWhatThird = 31;       // two digits
inline constexpr uint32_t kWhatFourth = 34;      // two digits, or '(' for 0
inline constexpr char kWhatNoFourth = '(';

// Trailing components, from the component's start.
inline constexpr uint32_t kComponentId = 0x38;     // u16
inline constexpr uint32_t kComponentGroup = 0x3B;  // u8, upper four bits
inline constexpr uint8_t kComponentGroupMask = 0xF0;
inline constexpr uint32_t kComponentSize = 0x60;   // u32, bytes, the header included
inline constexpr uint32_t kComponentHeaderBytes = 0x64;
static_assert(kComponentSize + 4 == kComponentHeaderBytes);

// Component groups: group 0x10 travels with a new legacy BIOS, group 0x30
// with a new UEFI driver.
inline constexpr uint8_t kComponentGroupLegacy = 0x10;
inline constexpr uint8_t kComponentGroupUefi = 0x30;
// The components a region holds, in the order it holds them per group.
inline constexpr uint16_t kLegacyComponentOrder[4] = {0x102, 0x110, 0x112, 0x113};
inline constexpr uint16_t kUefiComponentOrder[4] = {0x102, 0x112, 0x110, 0x113};

}  // namespace option_rom
