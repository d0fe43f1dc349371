// The card's locate indication: the enclosure slot of one of its modules.
#include "cardlib/board/board_power.h"
#include "cardlib/modules/module_handles.h"
#include "ctl/facade/qmx.h"

uint32_t LibZKLocateCard(uint32_t adapterIndex, uint32_t on) {
  uint32_t vx = 0;
  if (LibZKGetVXHandle(adapterIndex, &vx) != 0) return 1;
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (LibZKGetSSDHandle(vx, slot, &ssd) != 0) continue;
    // The switch reads the slot status, then writes it; a refused read or
    // write fails it, and a slot that refuses lets the next module try.
    if (QmxLocateDevice(&ssd, on) == kLibOk) return 0;
  }
  return 1;
}
