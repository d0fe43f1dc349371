// Hexadecimal numbers of up to 64 bits as the user or a text file writes
// them: an optional "0x" or "0X", then at most 16 digits.
#pragma once

#include <cstdint>

inline constexpr uint32_t kHexNumberMaxDigits = 16;

// True when the text starts with "0x" or "0X".
bool HasHexPrefix(const char* text);

// True for a valid number. Up to 8 digits give *low their value and leave
// *high as it was (callers clear it first); 9 to 16 digits give *high the
// value of all but the last 8 and *low the value of the last 8. An empty
// text (or the prefix alone) is 0. More than 16 digits, or a character that
// is not a hexadecimal digit, prints "\tERROR: String %s is not a valid
// number\n" with the whole text and answers false; so does a null text,
// without the message.
bool ParseHexNumber(const char* text, uint32_t* low, uint32_t* high);
