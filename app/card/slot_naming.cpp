#include "app/card/slot_naming.h"
#include "cardlib/modules/module_handles.h"

#include "app/card/board_type.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "cardlib/libzk.h"

namespace {

enum Location : uint8_t { kUnknown = 0, kUpper = 1, kLower = 2 };

constexpr const char* kLocationText[] = {"Unknown", "Upper", "Lower"};

struct SlotPlace {
  uint8_t cage;
  Location location;
};

using BoardLayout = SlotPlace[kCardModuleSlots];

constexpr SlotPlace kNone = {0, kUnknown};

// One layout per row of board types; a slot the board does not populate has
// cage 0 and no location.
constexpr BoardLayout kLayoutTypes1And2 = {{1, kLower}, {1, kUpper}, {2, kLower}, kNone,
                                           {2, kUpper}, {3, kLower}, {3, kUpper}, kNone};
constexpr BoardLayout kLayoutType3 = {{1, kUpper}, {1, kLower}, {2, kUpper}, {2, kLower},
                                      {3, kUpper}, {3, kLower}, {4, kUpper}, {4, kLower}};
constexpr BoardLayout kLayoutType4 = {{1, kLower}, {1, kUpper}, {2, kLower}, {2, kUpper},
                                      kNone,       kNone,       kNone,       kNone};
constexpr BoardLayout kLayoutType6 = {{1, kUpper}, {1, kLower}, {2, kUpper}, {2, kLower},
                                      {3, kUpper}, {3, kLower}, kNone,       kNone};
constexpr BoardLayout kLayoutTypes7To12 = {kNone,       kNone,       kNone,       kNone,
                                           {1, kUpper}, {1, kLower}, {2, kUpper}, {2, kLower}};
constexpr BoardLayout kLayoutType9 = {{1, kLower}, {1, kUpper}, {2, kUpper}, {2, kLower},
                                      {3, kLower}, {3, kUpper}, {4, kUpper}, {4, kLower}};
constexpr BoardLayout kLayoutType10 = {kNone,       kNone,       {1, kLower}, {1, kLower},
                                       {2, kLower}, {2, kLower}, {3, kLower}, {3, kLower}};

// The layout of the board, tested in this order; null for a board whose
// slots have no cage (type 5 without the unconfigured subsystem ID, and
// types beyond 12).
const BoardLayout* LayoutOf(uint32_t boardType, uint32_t subsystemDeviceId) {
  if (boardType == 1 || boardType == 2) return &kLayoutTypes1And2;
  if (boardType == 3) return &kLayoutType3;
  if (boardType == 4 || (boardType >= 4 && subsystemDeviceId == kUnconfiguredSubsystemId)) return &kLayoutType4;
  if (boardType == 6) return &kLayoutType6;
  if (boardType == 7 || boardType == 8 || boardType == 11 || boardType == 12) return &kLayoutTypes7To12;
  if (boardType == 9) return &kLayoutType9;
  if (boardType == 10) return &kLayoutType10;
  return nullptr;
}

SlotPlace PlaceOf(uint32_t boardType, uint32_t subsystemDeviceId, uint16_t slot) {
  const BoardLayout* layout = LayoutOf(boardType, subsystemDeviceId);
  if (layout == nullptr || slot >= kCardModuleSlots) return kNone;
  return (*layout)[slot];
}

// The selected card's board type and subsystem ID; false when the card
// cannot be read (the board type may still be 0).
bool SelectedBoard(uint32_t* boardType, uint32_t* subsystemDeviceId) {
  CardInfo info;
  MemSet(&info, 0, sizeof info);
  if (GetCardInfo(SelectedController - 1, &info) != 0) return false;
  *subsystemDeviceId = info.adapterInfo.subsystemDeviceId;
  *boardType = GetBoardType(SelectedController - 1);
  return true;
}

}  // namespace

uint32_t CageOfSlot(uint32_t boardType, uint32_t subsystemDeviceId, uint16_t slot) {
  return PlaceOf(boardType, subsystemDeviceId, slot).cage;
}

const char* LocationOfSlot(uint32_t boardType, uint32_t subsystemDeviceId, uint16_t slot) {
  return kLocationText[PlaceOf(boardType, subsystemDeviceId, slot).location];
}

uint32_t SlotToCage(uint16_t slot) {
  uint32_t boardType = 0;
  uint32_t subsystem = 0;
  if (!SelectedBoard(&boardType, &subsystem)) return 0;
  if (boardType == kBoardTypeInvalid) {
    ConsoleDiagnostic("\n\n Invalid Board Type \n\n");
    return 0;
  }
  return CageOfSlot(boardType, subsystem, slot);
}

const char* SlotToLocation(uint16_t slot) {
  uint32_t boardType = 0;
  uint32_t subsystem = 0;
  if (!SelectedBoard(&boardType, &subsystem)) return kLocationText[kUnknown];
  if (boardType == kBoardTypeInvalid) {
    // The board gives no location text; the callers print "Unknown" in its
    // place rather than nothing.
    ConsoleDiagnostic("\n Invalid Board Type PE\n\n");
    return kLocationText[kUnknown];
  }
  return LocationOfSlot(boardType, subsystem, slot);
}
