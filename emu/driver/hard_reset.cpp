// Hard reset of an adapter: the driver resets the controller and counts it.
// The controller comes back with its phys set up from the persistent copy of
// SAS IO unit page 1, so a phy disabled only in the current copy (a module
// taken off the bus for a while) is back.
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"

namespace emu::driver {

int HardReset(AdapterModel& adapter, AdapterRuntime& runtime, uint8_t*) {
  ++runtime.hardResets;
  if (ConfigPage* phys = adapter.FindPage(kPageExtended, 1, kExtSasIoUnit, 0)) phys->current = phys->nvram;
  // A reset ends any download in progress: pieces sent before it are lost.
  runtime.downloads.clear();
  return 0;
}

}  // namespace emu::driver
