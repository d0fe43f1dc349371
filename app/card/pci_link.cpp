#include "app/card/pci_link.h"

#include "app/card/whole_page.h"
#include "ctl/base/byte_order.h"
#include "ctl/frames/config_frame.h"
#include "ctl/pages/io_unit_pages.h"

namespace {

// IOC page 1 (type 1, number 1): the PCI slot number, 0xFF when not known.
inline constexpr uint32_t kIoc1PciSlot = 13;  // u8

}  // namespace

uint32_t GetPcieLinkInfo(uint32_t adapter, uint8_t* width, uint8_t* speed) {
  PageCopy page;
  if (!ReadWholePage(adapter, {kPageTypeIoUnit, io_unit_page7::kNumber}, kReadCurrent, &page).ok() ||
      !page.Holds(io_unit_page7::kPcieLinkWidth, 1) || !page.Holds(io_unit_page7::kPcieLinkSpeed, 1)) {
    return 1;
  }
  if (width != nullptr) *width = Get8(page.data(), io_unit_page7::kPcieLinkWidth);
  if (speed != nullptr) *speed = Get8(page.data(), io_unit_page7::kPcieLinkSpeed);
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
