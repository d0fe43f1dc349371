// The customer IDs a module keeps in its configuration image: set to the
// ones a module firmware image carries before that image is downloaded,
// and put back afterwards.
#pragma once

#include <cstdint>

// Reads the module's IDs into *previousMain and *previousSub (after
// unlocking it). When the image's main ID is one that asks for it and the
// module's IDs differ from the image's, writes the image's IDs, reads them
// back and sets *changed to 1. 0 when the module may take the image (IDs
// already right, or changed and verified); non-zero otherwise, also when
// the write failed and the previous IDs were put back: the caller must not
// download then. An image of fewer than ssd_fw_image::kHeaderSize bytes is
// refused (1) before the module is touched.
uint32_t ModifyCustomerId(uint32_t vxHandle, uint32_t ssdHandle, const uint8_t* image, uint32_t imageSize,
                          uint32_t* changed, uint32_t* previousMain, uint32_t* previousSub);

// Writes the IDs into the module's configuration image and reads them
// back. 0 when they read back as written, else non-zero.
uint32_t RestoreCustomerId(uint32_t vxHandle, uint32_t ssdHandle, uint32_t mainId, uint32_t subId);
