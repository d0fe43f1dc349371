// Manufacturing page 1, the card's Vital Product Data, read from the
// controller's NVRAM copy (WriteMfgPage, config_page_wrappers.h, writes it
// back).
#pragma once

#include <cstdint>

// Reads the page into a new buffer (AllocMem) of at least
// manufacturing_page1::kSize bytes, or of the page's whole length when the
// controller announces a longer one, so that the buffer always holds what
// a write-back sends. 1 with *page set (the caller frees it); 0 with *page
// null when the size query fails, the page is empty, memory runs out or
// the read fails. The status outputs are those of the last request; *size,
// when given, gets the buffer's size.
uint32_t ReadMfgPage(uint32_t adapter, uint8_t** page, uint16_t* iocStatus, uint32_t* iocLogInfo,
                     uint32_t* size = nullptr);
