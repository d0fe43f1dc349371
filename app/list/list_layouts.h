// The fields the card listing reads from pages and replies of its own:
// extended manufacturing page 223, the PSoC version query, the PCI location
// word and the controller firmware header (the manufacturing pages, the IOC
// FACTS reply and RAID volume page 0 are the library's: ctl/pages and
// ctl/frames). Offsets count from the start of the page or
// reply, header included; every field is little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/list/list_sections.h"
#include "cardlib/modules/module_handles.h"

// Extended manufacturing page 223: a page too short for the last slot word
// is one that could not be read.
inline constexpr uint32_t kPage223Size = kPage223SlotWords + 4 * kCardModuleSlots;

// The vendor SAS IO unit control operation that answers the PSoC's
// firmware version, u16 at reply byte 12.
inline constexpr uint8_t kPsocVersionOperation = 0x96;
inline constexpr size_t kPsocVersionReplyValue = 12;

// The controller firmware header: the package version.
inline constexpr size_t kFirmwareHeaderPackageVersion = 0x1C;  // u32
