#include "cardlib/entry/os_wrappers.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os/port.h"

void* ZkAllocZeroed(uint32_t size) { return std::calloc(1, size == 0 ? 1 : size); }

void ZkFill(void* buffer, uint8_t value, uint32_t size) {
  if (buffer != nullptr) std::memset(buffer, value, size);
}

void ZkCopy(void* destination, const void* source, uint32_t size) {
  if (destination != nullptr && source != nullptr && size != 0) std::memcpy(destination, source, size);
}

void ZkRelease(void* block) {
  if (block != nullptr) std::free(block);
}

void ZkSleepMs(uint32_t milliseconds) {
  // A long wait in pieces so that the microsecond count cannot overflow.
  constexpr uint32_t kPieceMs = 1000;
  os::Port& port = os::ActivePort();
  while (milliseconds > kPieceMs) {
    port.Usleep(kPieceMs * 1000);
    milliseconds -= kPieceMs;
  }
  if (milliseconds != 0) port.Usleep(milliseconds * 1000);
}

void ZkStrnCopy(char* destination, const char* source, uint32_t size) {
  uint32_t i = 0;
  for (; i < size && source != nullptr && source[i] != '\0'; ++i) destination[i] = source[i];
  for (; i < size; ++i) destination[i] = '\0';
}

int ZkFormat(char* buffer, uint32_t size, const char* format, ...) {
  if (buffer == nullptr || format == nullptr) return -1;
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}
