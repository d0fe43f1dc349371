// Lookups in a BIOS region or an option-ROM image file: the images of the
// expansion ROM chain by code type, the trailing components by group and
// ID, and the checksum byte of a rebuilt image. Every walk is given the
// length of the data it walks and never reads outside it: a chain that runs
// past the end, an image or component without a length, or a piece whose
// length runs past the data is "not found".
#pragma once

#include <cstdint>

// What a walk reads of one image of the chain. Offsets count from the
// start of the data walked; `length` is in bytes.
struct RomImageHeader {
  uint32_t pcir;         // the PCI data structure
  uint32_t length;       // image length × 512
  uint16_t deviceId;
  uint16_t codeRevision;
  uint8_t revision;      // the data structure's revision
  uint8_t codeType;
  uint8_t indicator;
};

// Reads the image that starts at `offset`: true when it carries the ROM
// signature and its data structure's fields lie inside the data.
bool ReadRomImageHeader(const uint8_t* data, uint32_t length, uint32_t offset, RomImageHeader* header);

// The image of a code type (0 legacy, 1, 3 UEFI; 0xAA the second legacy
// image, or an image whose code type byte is 0xAA): 1 with its offset and
// length, 0 when the chain holds none. A non-zero indicator ends the chain.
uint32_t FindRomImage(const uint8_t* image, uint32_t length, uint32_t* offset, uint32_t* imageLength,
                      uint8_t codeType);

// The trailing component of a group (0x10, 0x30) and ID after the chain:
// 1 with its offset and size, 0 when there is none.
uint32_t FindRomComponent(const uint8_t* image, uint32_t length, uint32_t* offset, uint32_t* size,
                          uint8_t group, uint16_t componentId);

// Clears the image's last byte and answers the byte that makes the image's
// `length` bytes sum to 0 (8-bit); the caller stores it in the last byte.
// A length of 0 answers 0 and touches nothing.
uint8_t RomImageChecksum(uint8_t* image, uint32_t length);
