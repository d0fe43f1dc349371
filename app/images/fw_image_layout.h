// The byte layout of a controller firmware image file as the checks read
// it: the header, the chain of extended images and the data of the
// supported-devices and NVDATA extended images. Every field is
// little-endian and read through ctl/base/byte_order.h.
#pragma once

#include <cstdint>

namespace fw_image {

// Header, from the image's start.
inline constexpr uint32_t kSignatureWords = 0x00;    // four u32
inline constexpr uint32_t kSignatureValues[4] = {0xEA000000, 0x5AFAA55A, 0xA55AFAA5, 0x5AA55AFA};
inline constexpr uint32_t kFirmwareVersion = 0x14;   // u32
inline constexpr uint32_t kPackageVersion = 0x1C;    // u32
inline constexpr uint32_t kOemIdentifier = 0x1E;     // u8, inside the package version
inline constexpr uint32_t kIdentifierWord0 = 0x20;   // u16
inline constexpr uint32_t kIdentifierWord1 = 0x22;   // u16
inline constexpr uint32_t kFirstExtImage = 0x30;     // u32, 0 when there is none
inline constexpr uint32_t kBoardName = 0xB0;         // text, NUL-terminated
inline constexpr uint32_t kBoardNameBytes = 16;      // the card's board-name width
// A file shorter than the header up to the board name is no image.
inline constexpr uint32_t kHeaderBytes = kBoardName;
static_assert(kFirstExtImage + 4 <= kHeaderBytes && kIdentifierWord1 + 2 <= kHeaderBytes);

// Extended image header, from the header's start.
inline constexpr uint32_t kExtType = 0x00;           // u8
inline constexpr uint32_t kExtSize = 0x08;           // u32, bytes
inline constexpr uint32_t kExtNext = 0x0C;           // u32, from the file's start; 0 ends the chain
inline constexpr uint32_t kExtData = 0x40;           // the extended image's own data
inline constexpr uint32_t kExtHeaderBytes = kExtData;
static_assert(kExtNext + 4 <= kExtHeaderBytes);

// Extended image types.
enum : uint8_t {
  kExtNvdata = 3,
  kExtBootLoader = 4,
  kExtInitialization = 5,
  kExtSupportedDevices = 7,
};

// Supported devices, from the extended image's header.
inline constexpr uint32_t kDeviceCount = 0x42;       // u8
inline constexpr uint32_t kDeviceEntries = 0x48;
inline constexpr uint32_t kDeviceEntryBytes = 16;
inline constexpr uint32_t kEntryDeviceId = 0;        // u16
inline constexpr uint32_t kEntryLowestRevision = 8;  // u8
inline constexpr uint32_t kEntryHighestRevision = 9; // u8
static_assert(kEntryHighestRevision < kDeviceEntryBytes);

// NVDATA, from the extended image's header.
inline constexpr uint32_t kNvdataSignature = 0x40;   // u32
inline constexpr uint32_t kNvdataSignatureValue = 0x4E69636B;
inline constexpr uint32_t kNvdataVersion = 0x48;     // u32
inline constexpr uint32_t kNvdataVersionMajorMask = 0xFFFF0000;
inline constexpr uint32_t kNvdataProdIdPosition = 0x5C;  // u16, in u32 words from kNvdataBase
inline constexpr uint32_t kNvdataBase = 0x40;
inline constexpr uint32_t kNvdataFieldBytes = kNvdataProdIdPosition + 2;

// NvdataProdId, from its start.
inline constexpr uint32_t kProdIdSignature = 0;      // u32
inline constexpr uint32_t kProdIdSignatureValue = 0x4672617A;
inline constexpr uint32_t kProdIdVendor = 4;
inline constexpr uint32_t kProdIdVendorBytes = 8;
inline constexpr uint32_t kProdIdProduct = 12;
inline constexpr uint32_t kProdIdProductBytes = 16;
inline constexpr uint32_t kProdIdDeviceId = 42;      // u16
inline constexpr uint32_t kProdIdSubsystemId = 46;   // u16
inline constexpr uint32_t kProdIdBytes = kProdIdSubsystemId + 2;
static_assert(kProdIdProduct + kProdIdProductBytes <= kProdIdDeviceId);

}  // namespace fw_image
