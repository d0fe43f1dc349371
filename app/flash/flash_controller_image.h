// Writing an image into the selected controller's flash: controller
// firmware (checked, then downloaded, verified and the controller reset,
// or with the configuration erased around it) or a BIOS/UEFI option-ROM
// image (checked, then the BIOS region rebuilt around it). Everything is
// checked before the first byte is written; the flash package calls the
// same driver with PackageModeFlag set, having checked its images whole.
#pragma once

#include <cstdint>

enum : uint8_t {
  kFlashModeFirmware = 1,
  kFlashModeBios = 2,
};

// 0 success, 1 failure (every step prints its lines). Any mode other than
// 1 or 2 fails at once. A BIOS image may have its device ID rewritten in
// memory by its check.
uint32_t FlashControllerImage(uint32_t adapterIndex, uint8_t mode, uint8_t* image, uint32_t size,
                              uint32_t eraseConfig, uint32_t reserved);
