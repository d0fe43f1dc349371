#include "app/card/pci_link.h"

#include "app/card/whole_page.h"
#include "ctl/base/byte_order.h"
#include "ctl/frames/config_frame.h"

namespace {

// IO unit page 7 (type 0, number 7).
inline constexpr uint32_t kIoUnit7LinkWidth = 6;  // u8, lanes
inline constexpr uint32_t kIoUnit7LinkSpeed = 7;  // u8
// IOC page 1 (type 1, number 1).
inline constexpr uint32_t kIoc1PciSlot = 13;      // u8

}  // namespace

uint32_t GetPcieLinkInfo(uint32_t adapter, uint8_t* width, uint8_t* speed) {
  PageCopy page;
  if (!ReadWholePage(adapter, {kPageTypeIoUnit, 7}, kReadCurrent, &page).ok() ||
      !page.Holds(kIoUnit7LinkWidth, 1) || !page.Holds(kIoUnit7LinkSpeed, 1)) {
    return 1;
  }
  if (width != nullptr) *width = Get8(page.data(), kIoUnit7LinkWidth);
  if (speed != nullptr) *speed = Get8(page.data(), kIoUnit7LinkSpeed);
  return 0;
}

uint32_t GetPciSlotFromIoc(uint32_t adapter, uint8_t* slot) {
  PageCopy page;
  if (!ReadWholePage(adapter, {kPageTypeIoc, 1}, kReadCurrent, &page).ok() || !page.Holds(kIoc1PciSlot, 1)) {
    return 1;
  }
  if (slot != nullptr) *slot = Get8(page.data(), kIoc1PciSlot);
  return 0;
}
