// SCT over the SMART logs: a command sector written to log 0xE0 starts an
// action (action code u16 at 0, function u16 at 2); the data it announces
// moves through log 0xE1, a read or a write of exactly the announced size
// (a read may take fewer sectors; a streamed one, a panic dump, is taken in
// pieces); reading log 0xE0 answers the status:
// format version 3, the device state at byte 10 (5 "command executing"
// while the module is busy: the sct-busy count of reads, or always for a
// module in state busy), the extended status and codes of the last
// command. A command the module refuses fails the log write itself, with
// its reason in the extended status; a locked module refuses every SCT
// command.
#include <algorithm>

#include "emu/modules/ata_layouts.h"
#include "emu/host/le_bytes.h"
#include "emu/modules/sct_actions.h"
#include "emu/modules/smart_attributes.h"

namespace emu {
namespace {

namespace s = ata::sct;

AtaAnswer Finish(AtaContext& c, uint16_t status) {
  c.runtime.lastSctStatus = status;
  if (!c.runtime.sctActions.empty()) c.runtime.sctActions.back().extendedStatus = status;
  return status == s::kComplete ? Done() : Aborted();
}

}  // namespace

AtaAnswer SctCommand(AtaContext& c, const std::vector<uint8_t>& sector) {
  ModuleRuntime& r = c.runtime;
  SctActionRecord record;
  record.action = le::Get16(sector, s::kAction);
  record.function = le::Get16(sector, s::kFunction);
  record.sector = sector;
  r.sctActions.push_back(record);
  r.pending = SctDataPhase{};
  r.lastSctAction = record.action;
  r.lastSctFunction = record.function;
  if (c.module.state == ModuleState::kLocked) return Finish(c, s::kSecurityLocked);
  const SctVendorAction* action = FindSctAction(record.action);
  if (action == nullptr) return Finish(c, s::kUnknownAction);
  if (action->needsUnlock && r.unlockLevel == 0) return Finish(c, s::kNotUnlocked);
  SctOutcome outcome = action->start(c, record.function, sector);
  if (outcome.extendedStatus == s::kComplete) r.pending = outcome.phase;
  return Finish(c, outcome.extendedStatus);
}

std::vector<uint8_t> SctStatus(AtaContext& c) {
  ModuleModel& m = c.module;
  ModuleRuntime& r = c.runtime;
  bool busy = m.state == ModuleState::kBusy || m.sctBusy != 0;
  if (m.sctBusy > 0) --m.sctBusy;
  ++r.statusReads;
  if (busy) ++r.busyStatusReads;
  std::vector<uint8_t> status(ata::kSectorBytes, 0);
  le::Put16(&status, s::kStatusFormat, s::kFormatVersion);
  le::Put16(&status, s::kStatusSctVersion, 0x0100);
  le::Put16(&status, s::kStatusSpecVersion, 0x0001);
  le::Put8(&status, s::kDeviceState, busy ? s::kStateBusy : s::kStateReady);
  le::Put16(&status, s::kExtendedStatus, busy ? 0xFFFF : r.lastSctStatus);
  le::Put16(&status, s::kLastAction, r.lastSctAction);
  le::Put16(&status, s::kLastFunction, r.lastSctFunction);
  if (const SmartAttribute* t = FindSmartAttribute(m, kSmartTemperature)) {
    le::Put8(&status, s::kTemperature, t->normalized);
    le::Put8(&status, s::kMaxTemperature, static_cast<uint8_t>(t->raw >> 16));
  }
  return status;
}

AtaAnswer SctReadData(AtaContext& c, uint32_t count) {
  SctDataPhase& phase = c.runtime.pending;
  size_t bytes = static_cast<size_t>(count) * ata::kSectorBytes;
  if (phase.kind == SctDataPhase::Kind::kRead && phase.streamed && count != 0) {
    if (phase.panicDump && c.module.panicReadFails != 0) {
      if (c.module.panicReadFails > 0) --c.module.panicReadFails;
      c.runtime.lastSctStatus = s::kReadFault;
      return Aborted();
    }
    std::vector<uint8_t> data(bytes, 0);
    size_t from = std::min<size_t>(phase.taken, phase.data.size());
    size_t n = std::min(bytes, phase.data.size() - from);
    std::copy_n(phase.data.begin() + static_cast<std::ptrdiff_t>(from), n, data.begin());
    phase.taken = static_cast<uint32_t>(std::min<size_t>(from + bytes, phase.data.size()));
    if (phase.taken >= phase.data.size()) phase = SctDataPhase{};
    return DataIn(std::move(data));
  }
  if (phase.kind != SctDataPhase::Kind::kRead || count == 0 || bytes > phase.data.size()) {
    c.runtime.lastSctStatus = s::kDataPhaseRefused;
    return Aborted();
  }
  std::vector<uint8_t> data(phase.data.begin(), phase.data.begin() + static_cast<std::ptrdiff_t>(bytes));
  phase = SctDataPhase{};
  return DataIn(std::move(data));
}

AtaAnswer SctWriteData(AtaContext& c, const std::vector<uint8_t>& data) {
  SctDataPhase phase = c.runtime.pending;
  c.runtime.pending = SctDataPhase{};
  const SctVendorAction* action = FindSctAction(phase.action);
  if (phase.kind != SctDataPhase::Kind::kWrite || data.size() != phase.bytes || action == nullptr ||
      action->finishWrite == nullptr) {
    c.runtime.lastSctStatus = s::kDataPhaseRefused;
    return Aborted();
  }
  c.runtime.lastSctStatus = action->finishWrite(c, phase, data);
  return c.runtime.lastSctStatus == s::kComplete ? Done() : Aborted();
}

}  // namespace emu
