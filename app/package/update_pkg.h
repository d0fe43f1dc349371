// Writing a flash package to the selected card (-updatepkg): the package is
// checked whole and against the card before anything is written, then its
// entries are flashed in package order and the controller firmware last.
#pragma once

#include <cstdint>

// The controller firmware entry, kept aside while the other entries are
// flashed: it goes in last, since its download resets the controller.
struct PkgKeptFirmware {
  uint8_t* image = nullptr;  // inside the package; null until its entry is reached
  uint32_t size = 0;
};

// Entry `index` of the package (checked whole before): controller firmware
// is recorded in *kept, BIOS-type images go into the BIOS region, module
// firmware to every module, an ignored entry is passed over. 0 done; 1
// after "%s: Failed to flash image. Type: 0x%x\n" for a failure or a type
// that cannot be flashed.
uint32_t FlashPkgEntry(uint32_t index, uint8_t* package, uint32_t size, PkgKeptFirmware* kept);

// The whole update of the selected controller. 0 when every entry and the
// controller firmware went in; 1 otherwise, with a line for each entry that
// says whether it was written.
uint32_t UpdateFlashPkg(uint8_t* package, uint32_t size);
