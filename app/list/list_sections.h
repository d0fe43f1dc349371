// The three sections of the -list command (adapter, volume, devices) and the
// record that its parse operation hands to its execute operation. Each
// section prints its text layout, or, when it is given a JSON writer, adds
// its keys to the one document the command writes at the end.
#pragma once

#include "ctl/config_pages/page_copy.h"

#include <cstdint>

class JsonWriter;

// Built by the parse operation; only `json` is read.
struct ListParams {
  uint32_t json;
  uint32_t unused1;
  uint32_t unused2;
};

// Extended manufacturing page 223 as the adapter section read it, handed on
// to the device section: it holds nothing (size 0) when it could not be
// read whole, and every field is checked against what it holds. Owned by
// the execute operation.
using Page223Buffer = PageCopy;

// Byte offsets in extended manufacturing page 223 (after its 8-byte header).
inline constexpr uint32_t kPage223FirmwareVersion = 8;
inline constexpr uint32_t kPage223LegacyBiosVersion = 12;
inline constexpr uint32_t kPage223UefiVersion = 16;
inline constexpr uint32_t kPage223PackageVersion = 20;
inline constexpr uint32_t kPage223SlotWords = 24;  // u32 per module slot 0..7

// JSON section codes, combined into the command's result.
enum : int {
  kListJsonCardFailed = 2,         // adapter: card information or card state; volume: VX handle
  kListJsonVolumeCountFailed = 15,
  kListJsonVolumeUnreadable = 18,
  kListJsonNoVolume = 16,          // devices: adapter info, device count or volume count failed, or no volume
  kListJsonNoMemory = 12,
  kListJsonVolumeInfoFailed = 22,
  kListJsonMemberCountFailed = 23,
  kListJsonMemberInfoFailed = 24,
  kListJsonIdentifyFailed = 25,
  kListJsonLinkPageFailed = 26,
  kListJsonIdentifierFailed = 27,
  kListJsonDeviceStepFailed = 1,
  kListJsonAllFailed = 28,
  kListJsonAdapterAndDevicesFailed = 29,
  kListJsonVolumeSkipped = 14,
};

// Adapter section. The page-223 buffer is read here and kept for the device
// section. Text: 0, or the failing read's status; JSON: 0, or 2 when the
// card information or the card-state check failed.
int PrintAdapterInfo(JsonWriter* json, Page223Buffer* page223);

// Volume section (only for a configured card whose state could be read).
// Text: 1 when the card or its volume count cannot be read, else the last
// volume's read status; JSON: 0, 2, 15 or 18.
int PrintVolumeInfo(JsonWriter* json);

// Device section. Text: 1 when gathering the list or a module step failed,
// else 0; JSON: 0 or one of the device codes above.
int PrintPhysicalDevices(const ListParams& params, JsonWriter* json, const Page223Buffer& page223);
