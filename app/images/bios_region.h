// The BIOS region a new option-ROM image file turns the controller's
// current region into: which images and trailing components come from the
// new file and which are kept, in the order the region holds them.
#pragma once

#include <cstdint>

#include "app/shell/app_buffer.h"

enum : uint32_t {
  kRegionBuilt = 0,
  kRegionNoMemory = 1,
  kRegionNoNewImage = 2,  // the new file's own image is unreadable or of no known code type
};

// Builds the new region in a new buffer, *region (empty unless built):
// the legacy image L, an extra legacy image X, the UEFI image E, the image
// of code type 1 T, then the group 0x10 components 0x102, 0x110, 0x112,
// 0x113 and the group 0x30 components 0x102, 0x112, 0x110, 0x113, each
// present when its lookup in its source finds it whole. Images followed by
// another image get their indicator cleared, the last image gets the
// last-image bit unless its indicator is non-zero already; every image gets its checksum
// byte recomputed; components are copied unchanged. The code type K of the
// new file's first image chooses the sources (legacy 0, 1 or UEFI 3); when
// the new file holds no readable image of its own kind nothing is built.
uint32_t AssembleBiosRegion(const uint8_t* current, uint32_t currentSize, const uint8_t* newImage,
                            uint32_t newSize, AppBuffer* region, uint32_t* regionSize);
