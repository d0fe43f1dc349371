#include "emu/modules/panic_slots.h"

#include <cstdio>

#include "emu/host/le_bytes.h"
#include "emu/modules/ata_layouts.h"

namespace emu {
namespace {

namespace p = ata::panic;
namespace s = ata::sct;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kPrefixLow = 0x494E4150;   // "PANI"
constexpr uint32_t kPrefixHigh = 0x52444843;  // "CHDR"
constexpr uint32_t kSyncCode = 0xA55A5AA5;
constexpr uint32_t kUnlockLevel = 1;

enum : uint16_t { kQuery = 0, kExtract = 1, kErase = 2 };

SctOutcome ReadOf(uint16_t function, Bytes data, bool streamed) {
  SctOutcome outcome;
  outcome.phase.kind = SctDataPhase::Kind::kRead;
  outcome.phase.action = ata::vendor::kPanicLog;
  outcome.phase.function = function;
  outcome.phase.bytes = static_cast<uint32_t>(data.size());
  outcome.phase.data = std::move(data);
  outcome.phase.streamed = streamed;
  outcome.phase.panicDump = streamed;
  return outcome;
}

uint64_t Mix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

Bytes PanicSlotHeader(const ModuleModel& m, uint32_t slot) {
  Bytes header(p::kHeaderBytes, 0);
  if (slot >= kPanicSlots) return header;
  const PanicSlotModel& panic = m.panicSlots[slot];
  if (!panic.valid && panic.dataSize == 0) return header;
  le::Put32(&header, p::kPrefix, kPrefixLow);
  le::Put32(&header, p::kPrefix + 4, kPrefixHigh);
  le::Put32(&header, p::kTransaction, 0x100 + 0x10 * m.slot + slot);
  le::Put32(&header, p::kSyncCode, kSyncCode);
  le::Put32(&header, p::kUnlockLevel, kUnlockLevel);
  le::Put32(&header, p::kHeaderSize, p::kHeaderBytes);
  le::Put32(&header, p::kDataSize, panic.dataSize);
  le::Put32(&header, p::kEPageAddress, 0x00120000 + 0x40 * slot);
  le::Put16(&header, p::kValid, panic.valid ? 1 : 0);
  le::Put16(&header, p::kCrc, panic.crcGood ? 1 : 0);
  return header;
}

Bytes PanicDump(const ModuleModel& m, uint32_t slot) {
  if (slot >= kPanicSlots) return {};
  const PanicSlotModel& panic = m.panicSlots[slot];
  Bytes dump(panic.dataSize, 0);
  // A readable line first, so that a dump can be told apart by eye.
  char line[64];
  int n = std::snprintf(line, sizeof line, "PANIC slot %u module %u size %u\n", slot, m.slot, panic.dataSize);
  uint64_t state = m.wwn ^ (static_cast<uint64_t>(slot) << 48) ^ panic.dataSize;
  for (size_t at = 0; at < dump.size(); ++at) {
    dump[at] = at < static_cast<size_t>(n) ? static_cast<uint8_t>(line[at]) : static_cast<uint8_t>(Mix(state));
  }
  return dump;
}

SctOutcome PanicLogAction(AtaContext& c, uint16_t function, const Bytes& sector) {
  ModuleModel& m = c.module;
  const uint8_t slot = le::Get8(sector, p::kSlot);
  switch (function) {
    case kQuery: {
      Bytes answer(p::kQueryBytes, 0);
      for (uint32_t i = 0; i < kPanicSlots; ++i) {
        Bytes header = PanicSlotHeader(m, i);
        std::copy(header.begin(), header.end(), answer.begin() + i * p::kHeaderBytes);
      }
      return ReadOf(function, std::move(answer), false);
    }
    case kExtract:
      if (slot >= kPanicSlots) return SctOutcome{s::kInvalidFunction, {}};
      return ReadOf(function, PanicDump(m, slot), true);
    case kErase:
      if (slot >= kPanicSlots) return SctOutcome{s::kInvalidFunction, {}};
      m.panicSlots[slot] = PanicSlotModel{};
      return ReadOf(function, Bytes(p::kEraseBytes, 0), false);
    default:
      return SctOutcome{s::kInvalidFunction, {}};
  }
}

}  // namespace emu
