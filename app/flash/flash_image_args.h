// The argument record of -f and -b, and the reading of their image file.
#pragma once

#include <cstdint>

#include "app/shell/app_buffer.h"
#include "app/shell/command_context.h"

inline constexpr uint32_t kImageFileNameSize = 512;  // 511 characters and the terminator

// Stored by the parse operation in its context, taken by the execute
// operation; the image file's bytes go in the context's file.
struct FlashImageArgs {
  char fileName[kImageFileNameSize];
  uint32_t eraseConfig;  // 1: erase the persistent configuration (-f only)
  uint32_t reserved;     // always 0
};

// A zeroed record stored in the context, or null after
// "\n%s: Insufficient memory.\n".
FlashImageArgs* NewFlashImageArgs(CommandContext* context);

// Reads the whole file into *image: 0, or 1 after "\n%s: File doesn't
// exists or not a regular file. Name: %s.\n" or the memory message, or
// silently when the file cannot be read whole. An empty file gives no
// bytes, which the image checks refuse.
int ReadImageFile(const char* fileName, AppBuffer* image);

// Prints the usage text of -f and -b.
void PrintFlashUsage();
