// Hard reset of an adapter: the driver resets the controller and counts it.
#include "emu/emulator.h"
#include "emu/handlers.h"

namespace emu::driver {

int HardReset(AdapterRuntime& runtime, uint8_t*) {
  ++runtime.hardResets;
  // A reset ends any download in progress: pieces sent before it are lost.
  runtime.downloads.clear();
  return 0;
}

}  // namespace emu::driver
