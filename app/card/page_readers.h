// Readers that hand out one particular configuration page in a buffer of
// its own (a PageCopy the caller owns, read by ReadWholePage). What the
// page holds is page->size() bytes (0 until the page was read); every field
// a caller reads is checked against it.
#pragma once

#include <cstdint>

#include "ctl/config_pages/page_copy.h"

// 0 success; the library's status when the size query or the read failed;
// 1 when the controller answered a non-zero IOCStatus, the page is empty,
// memory ran out (after "\n%s: Insufficient memory.\n") or a check failed.
uint32_t ReadIoUnitPage8(uint32_t adapter, PageCopy* page);  // NVRAM copy
// NVRAM copy; its signature byte (4) must be 0x80, else 1 with the page
// held.
uint32_t ReadMfgPage10(uint32_t adapter, PageCopy* page);
// Extended manufacturing pages, current copy.
uint32_t ReadExtPage221(uint32_t adapter, PageCopy* page);
uint32_t ReadExtPage222(uint32_t adapter, PageCopy* page);
uint32_t ReadExtPage223(uint32_t adapter, PageCopy* page);

// Manufacturing page 4 (NVRAM copy), the volume attributes: true when it
// was read and holds the two attribute bytes (a page of length 0 is a
// failure).
bool ReadVolumeAttrPage(uint32_t adapter, PageCopy* page);
