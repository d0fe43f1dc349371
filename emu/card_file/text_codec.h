// Small text helpers of the card file: hexadecimal bytes, C-style escaped
// strings and numbers in any base.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace emu::text {

std::string Hex(const uint8_t* bytes, size_t count);
// Appends the bytes of a hex string (blanks between pairs allowed); false on
// an odd count or a character that is not a hex digit.
bool AppendHex(const std::string& hex, std::vector<uint8_t>* out);

// Escapes backslash, double quote and every byte outside printable ASCII.
std::string Escape(const std::string& raw);
// Undoes Escape (\\ \" \n \t \r \0 \xHH); false on a malformed escape.
bool Unescape(const std::string& escaped, std::string* out);

// A number in decimal, 0x hexadecimal or 0 octal, within [0, max]; false otherwise.
bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t* out);
// A decimal number within [min, max], sign allowed.
bool ParseSigned(const std::string& text, int64_t min, int64_t max, int64_t* out);

std::string HexNumber(uint64_t value, int digits);  // "0x" and upper-case digits

}  // namespace emu::text
