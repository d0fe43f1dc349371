#include "app/card/card_state.h"

#include "app/card/board_type.h"
#include "app/card/config_page_layouts.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/card/page_readers.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

uint32_t CheckCardState(bool* unconfigured) {
  bool flag = false;
  if (unconfigured != nullptr) *unconfigured = false;
  uint32_t adapterIndex = SelectedController - 1;
  uint32_t vx = 0;
  if (LibZKGetVXHandle(adapterIndex, &vx) != 0) {
    ConsoleDiagnostic("\n%s: Failed getting controller information.\n", kUtilityTitle);
  }
  CardInfo info;
  MemSet(&info, 0, sizeof info);
  uint32_t status = GetCardInfo(adapterIndex, &info);
  if (status != 0) return status;
  if (info.adapterInfo.subsystemDeviceId == kUnconfiguredSubsystemId) {
    if (unconfigured != nullptr) *unconfigured = true;
    return 0;
  }
  PageCopy page;
  if (ReadMfgPage10(vx, &page) != 0 || !page.Holds(manufacturing_page10::kBoardFlags, 4)) {
    ConsoleDiagnostic("%s: Corvexium is not in a proper state.\n", kUtilityTitle);
    return 1;
  }
  flag = (GetLe32(page.data(), manufacturing_page10::kBoardFlags) & manufacturing_page10::kVolumeModeMask) ==
         manufacturing_page10::kVolumeModeUnconfigured;
  if (unconfigured != nullptr) *unconfigured = flag;
  return 0;
}
