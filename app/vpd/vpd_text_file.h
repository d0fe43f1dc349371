// The VPD data file of -updatevpd: a text that names the VPD resources and
// keywords one by one, each keyword followed by its value (words of the
// TextTokenizer, keywords compared ignoring case):
//
//   LR_ID_STRING_TAG 0x82   LR_ID_STRING_LENGTH 0x0E   LR_ID_STRING "Ulvane X 1000"
//   LR_VPD_TAG 0x90         LR_VPD_LENGTH 0x0B          ; a resource, then its keywords
//   VPD_KEYWORD PN  VPD_LENGTH 0x04  VPD_DATA 1234
//   VPD_KEYWORD RV  VPD_LENGTH 0x01  VPD_DATA CHECKSUM
//   SR_END_TAG
//
// Numbers are two prefix characters (normally "0x") and up to 16
// hexadecimal digits. VPD_DATA RESERVED gives VPD_LENGTH zero bytes,
// CHECKSUM the byte that makes everything from the area's start through it
// sum to 0, any other value its characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Turns the text (length bytes, or up to its first NUL) into the bytes of
// the VPD area. The whole text is checked: true with *bytes when every word
// is where it belongs, every number is valid and fits its field, every
// length matches what follows it (the identifier's characters, a resource's
// keywords, a keyword's data), every keyword name is two characters, the
// bytes fit the VPD area and the end tag closes them (followed at most by
// its own value 0x78). Otherwise false with *bytes empty, after one message
// that names the line of the first fault.
bool ParseVpdFile(const char* text, size_t length, std::vector<uint8_t>* bytes);
