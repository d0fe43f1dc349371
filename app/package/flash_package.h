// Reading a flash package: its whole-file checks, the checks against the
// selected card, and the flashing of its entries.
#pragma once

#include <cstdint>

// The wrapping sum of the bytes, taken as if the header's checksum field
// were 0 (length at least the header's size; else the plain sum).
uint32_t ComputeFlashPkgChecksum(const uint8_t* package, uint32_t length);

// The checks of the file alone, in order: header and entry table inside the
// file, signatures, header version, checksum, package type, every entry's
// data inside the file after the table, and at most one controller firmware
// entry. 0 valid; 1 after the failing check's message.
uint32_t CheckFlashPkgFile(const uint8_t* package, uint32_t size);

// CheckFlashPkgFile, then every entry's image against the selected card
// (controller firmware, BIOS and UEFI images as -f and -b check them, module
// firmware against every SATA module's configuration ID), the required
// images and the file size. 0 valid, else non-zero. A BIOS entry's device
// ID may be rewritten in the buffer (ValidateBiosImage).
uint32_t ValidateFlashPkg(uint8_t* package, uint32_t size);

// 0 compatible, 1 not: the package type against the card's board type (type
// 5 against the PCI subsystem ID 0x72). Prints the package line.
uint32_t CheckPkgBoardType(const uint8_t* package, uint32_t subsystemId, uint32_t adapterIndex);

// 1 when the package fits the selected card: board type, the board name of
// its controller firmware entry and the OEM identifier against the firmware
// in flash; else 0 after the message.
uint32_t CheckPkgOemAndBoardName(const uint8_t* package, uint32_t size);

// The module firmware image to every module of the selected card. 0 when
// every module took it, else 1.
uint32_t FlashPkgSsdFirmware(const uint8_t* image, uint32_t size);
