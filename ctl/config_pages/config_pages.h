// Configuration pages: the CONFIG message and the two-step read (header,
// then the page at the size the header announces).
//
// Buffer convention of every page read: the buffer receives the page as the
// controller returns it, header first. Read kinds: 0 size only (*size gets
// the page size, nothing is read), 1 current, 2 default, 3 NVRAM values. A
// null buffer or a *size of 0 with kinds 1-3 answers 17 with the page size
// in *size. A buffer smaller than the page receives its first *size bytes,
// and *size becomes the page size. Write kinds: 1 current, 2 default, 3 NVRAM.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"

// One CONFIG message. The header (4 bytes) and the extended length (words)
// are sent and, when the controller answers IOCStatus 0, replaced by the
// reply's. IOCStatus 0x20 gives 256, 0x21 257, 0x22 and 0x01 258, others 1.
LibStatus SendConfigRequest(LibContext* context, const LibHandle* adapter, uint8_t action,
                            uint8_t* header, uint32_t pageAddress, uint8_t extType,
                            uint16_t* extLength, void* data, uint32_t dataLength);
LibStatus ConfigPageReadCore(LibContext* context, const LibHandle* adapter, uint32_t pageAddress,
                             uint8_t pageType, uint8_t pageNumber, uint8_t extType, uint32_t readKind,
                             void* buffer, uint32_t* size);
LibStatus ConfigPageWriteCore(LibContext* context, const LibHandle* adapter, uint32_t pageAddress,
                              uint8_t pageType, uint8_t pageNumber, uint8_t extType, uint32_t writeKind,
                              const void* buffer, uint32_t* size);
