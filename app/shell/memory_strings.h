// Memory and string helpers shared by the commands.
#pragma once

#include <cstddef>
#include <cstdint>

// size zero-filled bytes (at least one, so that a size of 0 is no failure);
// null when memory is exhausted. AppBuffer holds what it gives: every record,
// page and image buffer of the application lives in one.
void* AllocMem(size_t size);
// Frees what AllocMem gave; null is ignored.
void FreeMem(void* pointer);

void MemSet(void* destination, uint8_t value, size_t length);
void MemCopy(void* destination, const void* source, size_t length);
// True when the first n bytes are equal (n = 0 gives true).
bool MemEqual(const void* a, const void* b, size_t n);

// Case-sensitive equality.
bool StrEqual(const char* a, const char* b);
// Equality ignoring the case of ASCII letters; every option and keyword of
// the command line and every "YES" answer is matched with it.
bool StrEqualNoCase(const char* a, const char* b);
// Copies a terminated string; the destination must hold it.
void StrCopy(char* destination, const char* source);
// Copies at most n characters, padding with zeros; no terminator is added
// when the source has n characters or more.
void StrCopyN(char* destination, const char* source, size_t n);
size_t StrLength(const char* text);
// Copies exactly n bytes and terminates them: the destination holds n + 1.
void CopyStringN(char* destination, const char* source, uint16_t n);
// Copies the source without its spaces and tabs into the destination (which
// holds at least as much as the source) and answers the copy's length.
size_t StripBlanks(const char* source, char* destination);

bool IsDigitChar(int character);
bool IsAlnumChar(int character);
// Character codes 32 to 126.
bool IsPrintChar(int character);
// A text from the card as a text report shows it: the `size` bytes of the
// field, each byte outside printable ASCII (codes 32 to 126) a blank, so that
// control bytes and escape sequences never reach the terminal. `out` holds
// size + 1 bytes and is terminated. Every text listing uses this one rule.
void PrintableText(char* out, const void* field, size_t size);
// The same for a zero-terminated text of at most `size` bytes: the bytes
// before its terminator.
void PrintableString(char* out, const char* text, size_t size);
// 0-9 for '0'-'9', 10-15 for 'a'-'f' and 'A'-'F', 0xFF for anything else.
uint8_t HexDigitValue(uint8_t character);
uint8_t HexCharValue(char character);

// The decimal value of the leading digits of the text: leading white space
// and a sign are accepted, conversion stops at the first other character, no
// digits give 0. A number outside 0 to 4294967295 (a negative one, or one
// beyond 32 bits) answers 0xFFFFFFFF with *fits false, so that it cannot
// wrap around into a caller's range; *fits is true otherwise. fits may be
// null.
uint32_t ParseDecimal(const char* text, bool* fits = nullptr);

