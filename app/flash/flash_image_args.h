// The argument record of -f and -b, and the reading of their image file.
#pragma once

#include <cstdint>

inline constexpr uint32_t kImageFileNameSize = 512;  // 511 characters and the terminator

// Allocated by the parse operation, owned and freed by the execute
// operation (or by the dispatcher when the parse fails).
struct FlashImageArgs {
  char fileName[kImageFileNameSize];
  uint32_t size;
  uint8_t* image;        // the whole file (AllocMem), null until read
  uint32_t eraseConfig;  // 1: erase the persistent configuration (-f only)
  uint32_t reserved;     // always 0
};

// A zeroed record, or null after "\n%s: Insufficient memory.\n".
FlashImageArgs* NewFlashImageArgs();

// Frees the record and the image it holds; null is ignored.
void FreeFlashImageArgs(FlashImageArgs* args);

// Reads the whole file named in the record into it: 0 with image and size,
// 1 after "\n%s: File doesn't exists or not a regular file. Name: %s.\n" or
// the memory message, or silently when the file cannot be read whole. An
// empty file gives a null image of size 0, which the image checks refuse.
int ReadImageFile(FlashImageArgs* args);

// Prints the usage text of -f and -b.
void PrintFlashUsage();
