// The CONFIG request (a 44-byte frame of which 28 bytes are sent: the driver
// places the page buffer's element at word 7) and its reply.
#pragma once

#include <cstddef>
#include <cstdint>

namespace config_frame {
inline constexpr size_t kAction = 0;          // u8
inline constexpr size_t kFunction = 3;        // u8, 0x04
inline constexpr size_t kExtPageLength = 4;   // u16, in words
inline constexpr size_t kExtPageType = 6;     // u8
inline constexpr size_t kPageHeader = 20;     // 4 bytes
inline constexpr size_t kPageAddress = 24;    // u32
inline constexpr size_t kBufferSize = 44;
inline constexpr uint32_t kRequestLength = 28;
static_assert(kPageAddress + 4 == kRequestLength);
}  // namespace config_frame

namespace config_reply {
inline constexpr size_t kExtPageLength = 4;  // u16
inline constexpr size_t kIocStatus = 14;     // u16
inline constexpr size_t kIocLogInfo = 16;    // u32
inline constexpr size_t kPageHeader = 20;    // 4 bytes
inline constexpr uint32_t kSize = 24;
static_assert(kPageHeader + 4 == kSize);
}  // namespace config_reply

// The page header that leads every page; an extended page (type 15)
// carries its length in the 8-byte extended header, its length byte is 0.
namespace page_header {
inline constexpr size_t kVersion = 0;
inline constexpr size_t kLength = 1;     // u8, in 32-bit words
inline constexpr size_t kNumber = 2;     // u8
inline constexpr size_t kType = 3;       // u8
inline constexpr size_t kExtLength = 4;  // u16, in 32-bit words (extended pages)
inline constexpr size_t kExtType = 6;    // u8 (extended pages)
inline constexpr size_t kSize = 4;
inline constexpr size_t kExtSize = 8;
}  // namespace page_header

enum : uint8_t {
  kConfigActionHeader = 0,
  kConfigActionReadCurrent = 1,
  kConfigActionWriteCurrent = 2,
  kConfigActionWriteDefault = 3,
  kConfigActionWriteNvram = 4,
  kConfigActionReadDefault = 5,
  kConfigActionReadNvram = 6,
};

// Page types and extended page types.
enum : uint8_t {
  kPageTypeIoUnit = 0,
  kPageTypeIoc = 1,
  kPageTypeBios = 2,
  kPageTypeRaidVolume = 8,
  kPageTypeManufacturing = 9,
  kPageTypeRaidPhysDisk = 10,
  kPageTypeExtended = 15,
};

enum : uint8_t {
  kExtPageSasIoUnit = 0x10,
  kExtPageSasExpander = 0x11,
  kExtPageSasDevice = 0x12,
  kExtPageSasPhy = 0x13,
  kExtPageLog = 0x14,
  kExtPageEnclosure = 0x15,
  kExtPageRaidConfig = 0x16,
  kExtPageDriverMapping = 0x17,
  kExtPageSasPort = 0x18,
  kExtPageEthernet = 0x19,
  kExtPageManufacturing = 0x1A,  // the card's extended manufacturing pages
};
// The page type is the low four bits of the header's type byte.
inline constexpr uint8_t kPageTypeMask = 0x0F;

// Controller answers of a CONFIG request.
enum : uint16_t {
  kIocStatusInvalidFunction = 0x0001,
  kIocStatusConfigInvalidAction = 0x0020,
  kIocStatusConfigInvalidType = 0x0021,
  kIocStatusConfigInvalidPage = 0x0022,
};

// Caller's read and write kinds.
enum : uint32_t {
  kReadSizeOnly = 0,
  kReadCurrent = 1,
  kReadDefault = 2,
  kReadNvram = 3,
};

enum : uint32_t {
  kWriteCurrent = 1,
  kWriteDefault = 2,
  kWriteNvram = 3,
};

// Page-address forms.
inline constexpr uint32_t kPageAddressForm1 = 0x10000000;
inline constexpr uint32_t kPageAddressForm2 = 0x20000000;
