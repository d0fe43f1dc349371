// The console: every message of the application goes through ConsolePrint,
// which writes it to standard output through the platform port (flushed at
// once, so prompts and messages keep their order even when output is piped).
#pragma once

#include <cstddef>
#include <cstdint>

// Formatted print to standard output.
void ConsolePrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formatted print to standard error, for a diagnostic that must stay out of
// a document written to standard output.
void ConsoleError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A message of a helper that JSON reports share: to standard output like
// ConsolePrint, or to standard error while a command writes a JSON document
// (SuppressStatus set), so that the document stays whole.
void ConsoleDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formatted print into a caller's buffer of `size` bytes: the text is cut to
// size - 1 characters and always terminated. Nothing happens when the buffer
// is null or its size 0. Answers the number of characters stored.
size_t FormatString(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Prints the buffer's text as it stands (not as a format: a '%' in a board
// name or a path prints as itself), then fills `size` bytes of it with zeros.
// The listings build a line with FormatString and emit it with this.
void PrintAndClear(char* buffer, size_t size);

// Sleeps n seconds; every wait of the application uses it.
void SleepSeconds(uint32_t seconds);
