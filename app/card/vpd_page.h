// Manufacturing page 1, the card's Vital Product Data, read from the
// controller's NVRAM copy (WriteMfgPage, config_page_wrappers.h, writes it
// back).
#pragma once

#include <cstdint>

#include "app/shell/app_buffer.h"

// Reads the page into a new buffer of at least manufacturing_page1::kSize
// bytes, or of the page's whole length when the controller announces a
// longer one, so that the buffer always holds what a write-back sends. 1
// with *page set; 0 with *page empty when the size query fails, the page
// is empty, memory runs out or the read fails. The status outputs are
// those of the last request.
uint32_t ReadMfgPage(uint32_t adapter, AppBuffer* page, uint16_t* iocStatus, uint32_t* iocLogInfo);
