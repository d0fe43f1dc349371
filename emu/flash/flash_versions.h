// The versions of what the card's flash holds, read from the images
// themselves as the controller firmware reports them (extended
// manufacturing page 223): the firmware and package versions of the
// firmware image's head, and the packed versions of the option-ROM
// region's first legacy x86 image and first UEFI image.
#pragma once

#include <cstdint>

#include "emu/host/host_model.h"

namespace emu {

inline constexpr uint32_t kNoVersion = 0xFFFFFFFF;

struct FlashVersions {
  uint32_t firmware = 0;         // head u32 at 0x14 (0 without a valid firmware image)
  uint32_t package = 0;          // head u32 at 0x1C
  uint32_t legacyBios = kNoVersion;  // code revision << 16 | the two bytes after the PCI data structure
  uint32_t uefi = kNoVersion;        // (r >> 13) << 24 | (r & 0x1F00) << 8 | r, r the code revision
};

FlashVersions ReadFlashVersions(const AdapterModel& adapter);

}  // namespace emu
