// The card library reaches the runtime library and the platform only
// through these wrappers. Sizes and counts are 32-bit.
#pragma once

#include <cstdint>

// n bytes, zero-filled; null when memory is exhausted.
void* ZkAllocZeroed(uint32_t size);
void ZkFill(void* buffer, uint8_t value, uint32_t size);
void ZkCopy(void* destination, const void* source, uint32_t size);
// Frees a block unless it is null.
void ZkRelease(void* block);
// Sleeps the milliseconds through the platform's microsecond sleep.
void ZkSleepMs(uint32_t milliseconds);
// Copies at most size characters, stopping at the first NUL, and fills the
// rest of the size with zeros (a source of size characters or more leaves no
// terminator).
void ZkStrnCopy(char* destination, const char* source, uint32_t size);
// Formats into buffer (at most size bytes with the terminator) when the
// buffer is not null; the length the whole text needs, or -1.
int ZkFormat(char* buffer, uint32_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
