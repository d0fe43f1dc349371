#include "app/card/board_type.h"

#include "app/card/config_page_layouts.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/card/page_readers.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint32_t kSubsystemFamilyMask = 0xFF00;

struct SubsystemBoard {
  uint32_t family;
  uint32_t boardType;
};

constexpr SubsystemBoard kSubsystemBoards[] = {
    {0x0000, 1}, {0x0100, 2}, {0x0200, 3}, {0x0300, 4}, {0x1000, 6}, {0x0500, 7},
};

void PrintNoControllerInformation() {
  ConsoleDiagnostic("\n%s: Failed getting controller information.\n", kUtilityTitle);
}

}  // namespace

uint32_t BoardTypeFromSubsystemId(uint32_t subsystemDeviceId) {
  uint32_t family = subsystemDeviceId & kSubsystemFamilyMask;
  for (const SubsystemBoard& row : kSubsystemBoards) {
    if (row.family == family) return row.boardType;
  }
  return kBoardTypeInvalid;
}

uint32_t GetBoardType(uint32_t adapterIndex) {
  uint32_t vx = 0;
  if (LibZKGetVXHandle(adapterIndex, &vx) != 0) {
    PrintNoControllerInformation();
    return kBoardTypeInvalid;
  }
  PageCopy page;
  bool held = ReadMfgPage10(vx, &page) == 0 && page.Holds(manufacturing_page10::kBoardType, 1);
  uint8_t fromPage = held ? Get8(page.data(), manufacturing_page10::kBoardType) : 0;
  if (!held) return kBoardTypeInvalid;
  if (fromPage != 0) return fromPage;
  CardInfo info;
  MemSet(&info, 0, sizeof info);
  if (GetCardInfo(adapterIndex, &info) != 0) {
    PrintNoControllerInformation();
    return kBoardTypeInvalid;
  }
  return BoardTypeFromSubsystemId(info.adapterInfo.subsystemDeviceId);
}
