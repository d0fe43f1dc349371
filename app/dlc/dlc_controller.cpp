#include "app/dlc/dlc_controller.h"

#include "app/card/config_page_wrappers.h"
#include "app/card/page_readers.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/manufacturing_pages.h"

namespace {

constexpr uint8_t kDlcCapableAttribute = 243;

// Page 10 with its board flags, or false.
bool ReadPage10(uint32_t adapter, PageCopy* page) {
  return ReadMfgPage10(adapter, page) == 0 && page->Holds(manufacturing_page10::kBoardFlags, 4);
}

}  // namespace

uint32_t ReadControllerDlcSupport(uint32_t adapter, uint32_t* supportCode, bool* enabled) {
  PageCopy page;
  if (!ReadPage10(adapter, &page)) {
    ConsolePrint("ERROR: Corvexium is not in a proper state.\n");
    return 1;
  }
  uint32_t flags = GetLe32(page.data(), manufacturing_page10::kBoardFlags);
  *enabled = (flags & manufacturing_page10::kFlagDlcEnabled) != 0;
  if ((flags & manufacturing_page10::kFlagDlcSupported) != 0) {
    ConsolePrint("\n\nCX firmware supports DLC.\n\n");
    *supportCode = kDlcSupported;
  } else {
    ConsolePrint("\n\nCX firmware does not support DLC.\n\n");
    *supportCode = kDlcNoControllerSupport;
  }
  return 0;
}

uint32_t SetControllerDlcBit(uint32_t adapter, uint8_t enable) {
  PageCopy page;
  bool done = false;
  if (ReadPage10(adapter, &page)) {
    uint32_t flags = GetLe32(page.data(), manufacturing_page10::kBoardFlags);
    flags = enable != 0 ? (flags | manufacturing_page10::kFlagDlcEnabled) : (flags & ~manufacturing_page10::kFlagDlcEnabled);
    PutLe32(page.data(), manufacturing_page10::kBoardFlags, flags);
    uint16_t iocStatus = 0;
    uint32_t iocLogInfo = 0;
    if (WriteMfgPage(adapter, page.data(), &iocStatus, &iocLogInfo) != 0) {
      // The bit counts as written only when the page holds it.
      PageCopy check;
      if (ReadPage10(adapter, &check)) {
        done = (GetLe32(check.data(), manufacturing_page10::kBoardFlags) & manufacturing_page10::kFlagDlcEnabled) ==
               (flags & manufacturing_page10::kFlagDlcEnabled);
      }
    }
  }
  if (!done) {
    ConsolePrint("\t DLC enable config bit write failed.\n\n");
    return 1;
  }
  return 0;
}

uint32_t CheckVskDlcSupport(uint32_t vxHandle, uint32_t* supportCode) {
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (LibZKGetSSDHandle(vxHandle, slot, &ssd) != 0) continue;
    SataSmartValues values;
    MemSet(&values, 0, sizeof values);
    if (ReadSmartData(vxHandle, ssd, &values, nullptr, 0) != 0) continue;
    bool found = false;
    for (const SmartAttributeValue& attribute : values.attribute) {
      if (attribute.id == kDlcCapableAttribute) found = true;
    }
    if (!found) {
      *supportCode = kDlcNoModuleSupport;
      return 0;
    }
    *supportCode = kDlcSupported;
  }
  return 0;
}
