// The dump file's one hex writer: binary data as rows of four bytes, each
// row its offset, the group read as a little-endian word (most significant
// byte first) and the four bytes as characters ('.' for those that do not
// print).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The text of a block: "\n<title>\n" when a title is given, then one row
// "%04x : %02x%02x%02x%02x    %c%c%c%c\n" per whole group of 4 bytes.
std::string HexBlockText(const uint8_t* bytes, uint32_t length, const char* title);

// Writes the block to the dump file. True when it was written whole.
bool DumpHexBlock(uint32_t file, const uint8_t* bytes, uint32_t length, const char* title);

// A length that a reply or a page announces, kept within the bytes that
// were actually read (and so within the buffer).
inline uint32_t ClampHexLength(uint32_t announced, uint32_t available) {
  return announced < available ? announced : available;
}

// Writes text to the dump file as it stands. True when it was written whole.
bool DumpText(uint32_t file, const std::string& text);
