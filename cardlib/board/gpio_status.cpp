// The auxiliary power input and the backup rail monitor: GPIO levels of IO
// unit page 3.
#include "cardlib/board/board_power.h"
#include "cardlib/layouts/board_pages.h"
#include "cardlib/entry/os_wrappers.h"
#include "cardlib/entry/zk_buffer.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"

namespace {

// The level of one GPIO: 0, 1 (unreadable page, or a page whose count or
// length does not cover the entry), or 16 without memory.
uint32_t ReadGpioLevel(uint32_t vx, uint32_t gpio, uint32_t* level) {
  if (level == nullptr) return 1;
  uint32_t pageSize = 0;
  if (ReadIoUnitPage3(&vx, nullptr, &pageSize, kReadSizeOnly) != kLibOk || pageSize == 0) return 1;
  ZkBuffer block(pageSize);
  uint8_t* page = block.get();
  if (page == nullptr) return 16;
  uint32_t readSize = pageSize;
  uint32_t result = 1;
  if (ReadIoUnitPage3(&vx, page, &readSize, kReadCurrent) == kLibOk) {
    uint32_t held = readSize < pageSize ? readSize : pageSize;
    size_t entry = io_unit_page3::kGpios + 2 * static_cast<size_t>(gpio);
    if (held > io_unit_page3::kGpioCount && Get8(page, io_unit_page3::kGpioCount) > gpio && entry + 2 <= held) {
      *level = (GetLe16(page, entry) & io_unit_page3::kLevel) != 0 ? 1 : 0;
      result = 0;
    }
  }
  return result;
}

}  // namespace

uint32_t GetAuxPowerStatus(uint32_t vxHandle, uint32_t* connected) {
  return ReadGpioLevel(vxHandle, io_unit_page3::kAuxPowerGpio, connected) == 0 ? 0 : 1;
}

uint32_t GetBackupRailStatus(uint32_t vxHandle, uint32_t* state) {
  return ReadGpioLevel(vxHandle, io_unit_page3::kBackupRailGpio, state);
}
