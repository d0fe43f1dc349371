// The host protected area: READ NATIVE MAX ADDRESS EXT answers the native
// capacity's last address; SET MAX ADDRESS EXT, which must come right after
// it (as the ATA command set requires), sets the current maximum to the
// address given plus one, kept in the card file whatever the count's
// volatile bit says. Refused: an address at or above the native capacity,
// a module armed to refuse (set-max-refusals), a locked one (the table).
// DEVICE RESET starts the module's session anew.
#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"

namespace emu {

AtaAnswer ReadNativeMaxAddress(AtaContext& c) {
  AtaAnswer answer;
  answer.hasLba = true;
  answer.lba = c.module.nativeSectors == 0 ? 0 : c.module.nativeSectors - 1;
  return answer;
}

AtaAnswer SetMaxAddress(AtaContext& c) {
  ModuleModel& m = c.module;
  if (c.runtime.previousCommand != ata::kReadNativeMaxExt) return Aborted();
  if (m.setMaxRefusals != 0) {
    if (m.setMaxRefusals > 0) --m.setMaxRefusals;
    return Aborted();
  }
  if (c.fis.lba >= m.nativeSectors) return Aborted();
  m.maxSectors = c.fis.lba + 1;
  AtaAnswer answer;
  answer.hasLba = true;
  answer.lba = c.fis.lba;
  return answer;
}

void ResetModuleSession(ModuleRuntime& r) {
  r.challenge.clear();
  r.challengeValid = false;
  r.pending = SctDataPhase{};
  r.lastSctAction = r.lastSctFunction = r.lastSctStatus = 0;
  r.previousCommand = 0;
  r.previousFeatures = 0;
  r.unlockLevel = 0;
}

AtaAnswer DeviceReset(AtaContext& c) {
  ResetModuleSession(c.runtime);
  AtaAnswer answer;  // the device signature: count 1, LBA low 1
  answer.hasLba = true;
  answer.lba = 1;
  answer.hasCount = true;
  answer.count = 1;
  return answer;
}

}  // namespace emu
