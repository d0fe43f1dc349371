// The texts of packed image versions, in buffers sized for every value.
#pragma once

#include <cstddef>
#include <cstdint>

// "255.255.255.255" and its terminator: the longest text either form gives.
inline constexpr size_t kVersionTextSize = 16;

// "%02d.%02d.%02d.%02d" with the word's four bytes, most significant first
// (firmware, package and legacy BIOS versions). Answers the text's length.
size_t FormatVersionBytes(char* text, size_t size, uint32_t version);

// The UEFI form: bits 13-15, 8-12, 4-7 and 0-3 of the word, each "%02d".
size_t FormatUefiVersion(char* text, size_t size, uint32_t version);
