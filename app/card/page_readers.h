// Readers that hand out one particular configuration page in a buffer of
// its own (from AllocMem, sized as the controller announces the page). The
// caller owns and frees the buffer, also when the read failed after it was
// allocated. *size gets the bytes the buffer holds (0 until the page was
// read); every field a caller reads is checked against it.
#pragma once

#include <cstdint>

// 0 success; the library's status when the size query or the read failed;
// 1 when the controller answered a non-zero IOCStatus, the page is empty,
// memory ran out (after "\n%s: Insufficient memory.\n") or a check failed.
uint32_t ReadIoUnitPage8(uint32_t adapter, uint8_t** page, uint32_t* size);  // NVRAM copy
// NVRAM copy; its signature byte (4) must be 0x80, else 1 with the page
// handed out.
uint32_t ReadMfgPage10(uint32_t adapter, uint8_t** page, uint32_t* size);
// Extended manufacturing pages, current copy.
uint32_t ReadExtPage221(uint32_t adapter, uint8_t** page, uint32_t* size);
uint32_t ReadExtPage222(uint32_t adapter, uint8_t** page, uint32_t* size);
uint32_t ReadExtPage223(uint32_t adapter, uint8_t** page, uint32_t* size);

// Manufacturing page 4 (NVRAM copy), the volume attributes: 1 success, 0
// failure (a page of length 0, or one too short for the two attribute
// bytes, is a failure).
uint32_t ReadVolumeAttrPage(uint32_t adapter, uint8_t** page, uint32_t* size);
