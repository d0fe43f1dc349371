// The application's configuration-page calls: a library read or write plus
// the controller's reply status, answered as yes or no with the IOCStatus
// and IOCLogInfo beside it.
#pragma once

#include <cstdint>

// The wrappers take the controller's page actions (ctl/frames/config_frame.h):
// reads kConfigActionReadCurrent, kConfigActionReadDefault and
// kConfigActionReadNvram; writes kConfigActionWriteCurrent and
// kConfigActionWriteNvram.
#include "ctl/frames/config_frame.h"

// Reads the page into buffer (size bytes). 1 when the library call
// succeeded and the controller answered IOCStatus 0, else 0; an action
// other than the three reads answers 0 at once. The status outputs are
// cleared first and then filled as far as the last request status marks
// them valid. *pageSize, when given, gets the bytes of the page the buffer
// holds (the smaller of the page and the buffer; 0 on a failure).
uint32_t GetCfgPage(uint32_t adapter, uint8_t pageType, uint8_t pageNumber, uint8_t extType, uint32_t size,
                    uint8_t action, void* buffer, uint32_t pageAddress, uint16_t* iocStatus,
                    uint32_t* iocLogInfo, uint32_t* pageSize = nullptr);

// Writes the page back with its own header's type, number and extended
// type and the length it announces (4 × the length byte; for an extended
// page 4 × the extended length). 1 or 0 as GetCfgPage; actions other than
// the two writes answer 0.
uint32_t SetCfgPage(uint32_t adapter, uint8_t action, uint32_t pageAddress, const void* page,
                    uint16_t* iocStatus, uint32_t* iocLogInfo);

// SetCfgPage to NVRAM at page address 0.
uint32_t WriteMfgPage(uint32_t adapter, const void* page, uint16_t* iocStatus, uint32_t* iocLogInfo);

// The page's size in bytes in *length (a size query). 1 or 0.
uint32_t GetCfgPageHeader(uint32_t adapter, uint8_t pageType, uint8_t pageNumber, uint8_t extType,
                          uint32_t pageAddress, uint16_t* length, uint16_t* iocStatus, uint32_t* iocLogInfo);
