#include "app/dlc/dlc_controller.h"

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/card/page_readers.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint8_t kDlcCapableAttribute = 243;

// Page 10 with its board flags, or false (the page freed).
bool ReadPage10(uint32_t adapter, uint8_t** page, uint32_t* size) {
  if (ReadMfgPage10(adapter, page, size) == 0 && PageHolds(*size, mfg_page10::kBoardFlags, 4)) return true;
  FreeMem(*page);
  *page = nullptr;
  return false;
}

}  // namespace

uint32_t ReadControllerDlcSupport(uint32_t adapter, uint32_t* supportCode, bool* enabled) {
  uint8_t* page = nullptr;
  uint32_t size = 0;
  if (!ReadPage10(adapter, &page, &size)) {
    ConsolePrint("ERROR: Corvexium is not in a proper state.\n");
    return 1;
  }
  uint32_t flags = GetLe32(page, mfg_page10::kBoardFlags);
  FreeMem(page);
  *enabled = (flags & mfg_page10_dlc::kEnabled) != 0;
  if ((flags & mfg_page10_dlc::kSupported) != 0) {
    ConsolePrint("\n\nCX firmware supports DLC.\n\n");
    *supportCode = kDlcSupported;
  } else {
    ConsolePrint("\n\nCX firmware does not support DLC.\n\n");
    *supportCode = kDlcNoControllerSupport;
  }
  return 0;
}

uint32_t SetControllerDlcBit(uint32_t adapter, uint8_t enable) {
  uint8_t* page = nullptr;
  uint32_t size = 0;
  bool done = false;
  if (ReadPage10(adapter, &page, &size)) {
    uint32_t flags = GetLe32(page, mfg_page10::kBoardFlags);
    flags = enable != 0 ? (flags | mfg_page10_dlc::kEnabled) : (flags & ~mfg_page10_dlc::kEnabled);
    PutLe32(page, mfg_page10::kBoardFlags, flags);
    uint16_t iocStatus = 0;
    uint32_t iocLogInfo = 0;
    if (WriteMfgPage(adapter, page, &iocStatus, &iocLogInfo) != 0) {
      FreeMem(page);
      page = nullptr;
      // The bit counts as written only when the page holds it.
      if (ReadPage10(adapter, &page, &size)) {
        done = (GetLe32(page, mfg_page10::kBoardFlags) & mfg_page10_dlc::kEnabled) == (flags & mfg_page10_dlc::kEnabled);
      }
    }
  }
  FreeMem(page);
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
