// Versions of the images in the controller's flash, and their order.
#pragma once

#include <cstdint>

// Uploads the image of the type and answers the upload's result (1 ok).
// Type 1: *version is the firmware header's version word (kNoRomVersion
// when the image is too short to hold it); type 2: the packed version of
// the region's option-ROM image of the code type (GetRomImageVersion);
// other types leave *version alone. The uploaded copy is freed.
uint32_t GetFlashBiosVersion(uint32_t adapter, uint32_t* version, uint8_t imageType, uint8_t codeType);

// True when the packed version a is not newer than b: bytes 3, 2 and 1 are
// compared in turn as unsigned numbers, the first difference decides, and
// with all three equal byte 0 of b must be at least byte 0 of a.
bool IsVersionNotNewer(uint32_t a, uint32_t b);
