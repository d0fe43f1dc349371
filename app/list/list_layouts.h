// The fields the card listing reads from pages and replies of its own:
// manufacturing pages 0 and 5, the IOC FACTS reply, RAID volume page 0 and
// the PSoC version query. Offsets count from the start of the page or
// reply, header included; every field is little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/list/list_sections.h"

// Extended manufacturing page 223: a page too short for the last slot word
// is one that could not be read.
inline constexpr uint32_t kPage223Size = kPage223SlotWords + 4 * 8;

// Manufacturing page 0: the board's identity texts, 16 characters each,
// not terminated when all 16 are used.
namespace mfg_page0 {
inline constexpr size_t kChipName = 4;
inline constexpr size_t kBoardName = 28;
inline constexpr size_t kBoardAssembly = 44;
inline constexpr size_t kBoardTracer = 60;
inline constexpr size_t kTextSize = 16;
// The page must reach the end of the tracer number.
inline constexpr uint32_t kSize = kBoardTracer + kTextSize;
}  // namespace mfg_page0

// Manufacturing page 5: the card's first SAS address.
namespace mfg_page5 {
inline constexpr size_t kSasAddressLow = 16;   // u32
inline constexpr size_t kSasAddressHigh = 20;  // u32
}  // namespace mfg_page5

// IOC FACTS reply: its length in 32-bit words, and the capability word.
namespace ioc_facts_reply {
inline constexpr size_t kMessageLength = 2;   // u8
inline constexpr size_t kCapabilities = 28;   // u32
inline constexpr uint32_t kCapabilityNuma = 0x8000;
}  // namespace ioc_facts_reply

// RAID volume page 0.
namespace raid_volume_page0 {
inline constexpr size_t kBlockSize = 28;  // u16
}  // namespace raid_volume_page0

// The vendor SAS IO unit control operation that answers the PSoC's
// firmware version, u16 at reply byte 12.
inline constexpr uint8_t kPsocVersionOperation = 0x96;
inline constexpr size_t kPsocVersionReplyValue = 12;

// The PCI location word of the adapter information.
namespace pci_location {
inline constexpr uint32_t kDeviceMask = 0x1F;
inline constexpr uint32_t kFunctionShift = 5;
inline constexpr uint32_t kFunctionMask = 0x7;
inline constexpr uint32_t kBusShift = 8;
}  // namespace pci_location

// The controller firmware header: the package version.
inline constexpr size_t kFirmwareHeaderPackageVersion = 0x1C;  // u32

// Read kinds of the controller library's page readers.
enum : uint32_t {
  kListReadSizeOnly = 0,
  kListReadCurrent = 1,
  kListReadNvram = 3,
};
