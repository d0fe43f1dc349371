#include "app/card/vpd_page.h"

#include <utility>

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"

uint32_t ReadMfgPage(uint32_t adapter, AppBuffer* page, uint16_t* iocStatus, uint32_t* iocLogInfo) {
  *page = AppBuffer();
  uint16_t length = 0;
  if (GetCfgPageHeader(adapter, kPageTypeManufacturing, manufacturing_page1::kNumber, 0, 0, &length, iocStatus,
                       iocLogInfo) == 0 ||
      length == 0) {
    return 0;
  }
  uint32_t room = length > manufacturing_page1::kSize ? length : manufacturing_page1::kSize;
  AppBuffer buffer(room);
  if (!buffer) return 0;
  if (GetCfgPage(adapter, kPageTypeManufacturing, manufacturing_page1::kNumber, 0, room, kConfigActionReadNvram,
                 buffer.get(), 0, iocStatus, iocLogInfo) == 0) {
    return 0;
  }
  *page = std::move(buffer);
  return 1;
}
