// The auxiliary power input and the backup rail monitor: GPIO levels of IO
// unit page 3.
#include "cardlib/board/board_power.h"
#include "cardlib/layouts/board_pages.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"

namespace {

// The level of one GPIO: 0, 1 (unreadable page, or a page whose count or
// length does not cover the entry), or 16 without memory.
uint32_t ReadGpioLevel(uint32_t vx, uint32_t gpio, uint32_t* level) {
  if (level == nullptr) return 1;
  PageCopy page;
  if (ReadConfigPageCopy(&vx, 0, kPageTypeIoUnit, io_unit_page3::kNumber, 0, kReadCurrent, &page) != kLibOk) {
    return page.failedStep() == PageCopyStep::kBuffer ? 16 : 1;
  }
  size_t entry = io_unit_page3::kGpios + 2 * static_cast<size_t>(gpio);
  if (!page.Holds(io_unit_page3::kGpioCount, 1) || Get8(page.data(), io_unit_page3::kGpioCount) <= gpio ||
      !page.Holds(entry, 2)) {
    return 1;
  }
  *level = (GetLe16(page.data(), entry) & io_unit_page3::kLevel) != 0 ? 1 : 0;
  return 0;
}

}  // namespace

uint32_t GetAuxPowerStatus(uint32_t vxHandle, uint32_t* connected) {
  return ReadGpioLevel(vxHandle, io_unit_page3::kAuxPowerGpio, connected) == 0 ? 0 : 1;
}

uint32_t GetBackupRailStatus(uint32_t vxHandle, uint32_t* state) {
  return ReadGpioLevel(vxHandle, io_unit_page3::kBackupRailGpio, state);
}
