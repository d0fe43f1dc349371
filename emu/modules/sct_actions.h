// The module firmware's vendor SCT actions: one row per action code, with
// whether it needs the module unlocked, what a command sector starts (an
// outcome and the data phase it announces) and what a data write through
// log 0xE1 completes. Rows for further actions go into the table of
// sct_vendor_actions.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/modules/ata_command_set.h"

namespace emu {

struct SctOutcome {
  uint16_t extendedStatus = 0;  // 0: accepted
  SctDataPhase phase;           // kNone: nothing more to move
};

struct SctVendorAction {
  uint16_t action;
  bool needsUnlock;
  SctOutcome (*start)(AtaContext& c, uint16_t function, const std::vector<uint8_t>& sector);
  // The data the host wrote for a phase this action announced (exactly its
  // size); null for actions that announce no write.
  uint16_t (*finishWrite)(AtaContext& c, const SctDataPhase& phase, const std::vector<uint8_t>& data);
};

const SctVendorAction* FindSctAction(uint16_t action);

}  // namespace emu
