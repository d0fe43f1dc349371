#include "app/card/vpd_page.h"

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/shell/memory_strings.h"

uint32_t ReadMfgPage(uint32_t adapter, uint8_t** page, uint16_t* iocStatus, uint32_t* iocLogInfo,
                     uint32_t* size) {
  *page = nullptr;
  if (size != nullptr) *size = 0;
  uint16_t length = 0;
  if (GetCfgPageHeader(adapter, kPageTypeManufacturing, manufacturing_page1::kNumber, 0, 0, &length, iocStatus,
                       iocLogInfo) == 0 ||
      length == 0) {
    return 0;
  }
  uint32_t room = length > manufacturing_page1::kSize ? length : manufacturing_page1::kSize;
  auto* buffer = static_cast<uint8_t*>(AllocMem(room));
  if (buffer == nullptr) return 0;
  if (GetCfgPage(adapter, kPageTypeManufacturing, manufacturing_page1::kNumber, 0, room, kConfigActionReadNvram, buffer, 0,
                 iocStatus, iocLogInfo) == 0) {
    FreeMem(buffer);
    return 0;
  }
  *page = buffer;
  if (size != nullptr) *size = room;
  return 1;
}
