// The version of an option-ROM image of one code type inside a BIOS region
// (or an image file), packed into 32 bits.
#pragma once

#include <cstdint>

inline constexpr uint32_t kNoRomVersion = 0xFFFFFFFF;

// Walks the region's chain for the first image of the code type (0 legacy,
// 3 UEFI, 1 Open Firmware: the last such image; 0xFF the code type of the
// first image; 0xAA like 0) and answers its packed version:
//   legacy: code revision << 16 | the two bytes after the data structure;
//   UEFI (code revision r): (r >> 13) << 24 | (r & 0x1F00) << 8 | r;
//   Open Firmware: the digits of its "@(#)" what string.
// kNoRomVersion for a null region or when no such image is found. The walk
// ends at the last-image bit, at a missing signature and at an image length
// of 0, and follows no pointer or length outside the region's `length`
// bytes. The adapter handle is the caller's card; the walk does not use it.
uint32_t GetRomImageVersion(uint32_t adapter, const uint8_t* image, uint32_t length, uint8_t codeType);
