// Hard reset of an adapter: the driver resets the controller, waits until it
// is back (kHardResetSeconds of virtual time, during which no device is on
// the bus) and counts it. The controller comes back with its phys set up
// from the persistent copy of SAS IO unit page 1, so a phy disabled only in
// the current copy (a module taken off the bus for a while) is back, and
// with the settings of manufacturing page 10's persistent copy and the SAS
// addresses of manufacturing page 5 as NVRAM holds them (a new base address
// written there takes effect); the modules were dropped from the bus and
// found again, so each one's session (unlock level, challenge, SCT data
// phase, the command before) starts anew.
// It runs the firmware its flash holds (a download takes effect here).
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/flash/flash_versions.h"
#include "emu/modules/ata_command_set.h"

namespace emu::driver {

int HardReset(AdapterModel& adapter, AdapterRuntime& runtime, uint8_t*) {
  ++runtime.hardResets;
  if (ConfigPage* phys = adapter.FindPage(kPageExtended, 1, kExtSasIoUnit, 0)) phys->current = phys->nvram;
  // Manufacturing page 10 (the board's settings, the slot power among them)
  // is loaded from NVRAM as the controller starts: a value written there
  // takes effect now.
  if (ConfigPage* board = adapter.FindPage(kPageManufacturing, 10, 0, 0)) board->current = board->nvram;
  if (ConfigPage* addresses = adapter.FindPage(kPageManufacturing, 5, 0, 0)) addresses->current = addresses->nvram;
  // A reset ends any download in progress: pieces sent before it are lost.
  runtime.downloads.clear();
  for (auto& [slot, module] : runtime.modules) ResetModuleSession(module);
  // The controller comes back running the firmware in its flash, and
  // reports that firmware's version from then on (a firmware image without
  // its signatures reports 0: the version stays).
  FlashVersions flash = ReadFlashVersions(adapter);
  if (flash.firmware != 0) adapter.firmwareVersion = flash.firmware;
  return 0;
}

}  // namespace emu::driver
