#include "app/shell/console.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/shell/program_state.h"
#include "os/port.h"

namespace {

void WriteText(const char* text, size_t length) {
  if (length != 0) os::ActivePort().WriteOut(text, length);
}

void WriteErrorText(const char* text, size_t length) {
  if (length != 0) os::ActivePort().WriteError(text, length);
}

// Formats the message and hands it to the sink. Most messages fit the
// local buffer; a longer one is formatted again into a buffer of its exact
// size.
void FormatAndWrite(void (*sink)(const char*, size_t), const char* format, va_list args) {
  char local[1024];
  va_list again;
  va_copy(again, args);
  int length = std::vsnprintf(local, sizeof local, format, args);
  if (length < 0) {
    va_end(again);
    return;
  }
  if (static_cast<size_t>(length) < sizeof local) {
    va_end(again);
    sink(local, static_cast<size_t>(length));
    return;
  }
  std::vector<char> large(static_cast<size_t>(length) + 1);
  std::vsnprintf(large.data(), large.size(), format, again);
  va_end(again);
  sink(large.data(), static_cast<size_t>(length));
}

}  // namespace

void ConsolePrint(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatAndWrite(WriteText, format, args);
  va_end(args);
}

void ConsoleError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatAndWrite(WriteErrorText, format, args);
  va_end(args);
}

void ConsoleDiagnostic(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatAndWrite(SuppressStatus != 0 ? WriteErrorText : WriteText, format, args);
  va_end(args);
}

size_t FormatString(char* buffer, size_t size, const char* format, ...) {
  if (buffer == nullptr || size == 0) return 0;
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  if (length < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(length) < size ? static_cast<size_t>(length) : size - 1;
}

void PrintAndClear(char* buffer, size_t size) {
  if (buffer == nullptr) return;
  // Bounded by the buffer, so a text that fills it without a terminator
  // does not run past its end.
  size_t length = 0;
  while (length < size && buffer[length] != '\0') ++length;
  WriteText(buffer, length);
  std::memset(buffer, 0, size);
}

void SleepSeconds(uint32_t seconds) { os::ActivePort().Sleep(seconds); }
