// -readraw: one physical flash page of one module, exactly as stored, into
// a file.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kReadRawNameSize = 512;

// The command's argument record.
struct ReadRawRequest {
  uint32_t addressLow;   // the page address, low 32 bits
  uint32_t addressHigh;  // its high 32 bits
  uint8_t slot;          // the module slot, 0-7
  char fileName[kReadRawNameSize];  // terminated, at most 511 characters
};
static_assert(sizeof(ReadRawRequest) == 524);

// A page address as typed: decimal, or hexadecimal behind "0x" with at
// most 16 digits, into its two halves. False when it is neither or does not
// fit 64 bits.
bool ParsePageAddress(const char* text, uint32_t* low, uint32_t* high);

// Unlocks the module, checks the page's block and copies the page into the
// file. 0 done, or a page or block the module does not give out (its
// message printed); otherwise the failed step's status, 1 for a file that
// could not be created or written (no partial file is left).
uint32_t ReadRawPage(uint32_t addressLow, uint32_t addressHigh, uint8_t slot, const char* fileName);
