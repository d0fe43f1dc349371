#include "emu/modules/raw_flash.h"

#include <cstdio>

#include "emu/host/le_bytes.h"
#include "emu/modules/ata_layouts.h"

namespace emu {
namespace {

namespace r = ata::raw;
namespace s = ata::sct;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kHeaderTag = 0x47415045;  // "EPAG"
constexpr uint16_t kUnusedEntry = 0xFFFF;

// Built-in blocks that are not ordinary user blocks.
constexpr RawBlockModel kBuiltInBlocks[] = {
    {0x000, 1, 1, 0}, {0x001, 2, 1, 0}, {0x002, 5, 1, 0},     {0x003, 1, 1, 0},
    {0x004, 0, 1, 0}, {0x005, 4, 0, 0}, {0x010, 4, 2, 0x7F0}, {0x011, 3, 1, 0},
};

SctOutcome ReadOf(uint16_t action, uint16_t function, Bytes data) {
  SctOutcome outcome;
  outcome.phase.kind = SctDataPhase::Kind::kRead;
  outcome.phase.action = action;
  outcome.phase.function = function;
  outcome.phase.bytes = static_cast<uint32_t>(data.size());
  outcome.phase.data = std::move(data);
  return outcome;
}

uint64_t Mix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint16_t Bits(uint32_t value, uint32_t from, uint32_t count) {
  return static_cast<uint16_t>((value >> from) & ((1u << count) - 1));
}

}  // namespace

RawBlockModel RawBlockOf(const ModuleModel& m, uint16_t rblock) {
  for (const RawBlockModel& b : m.rawBlocks) {
    if (b.rblock == rblock) return b;
  }
  for (const RawBlockModel& b : kBuiltInBlocks) {
    if (b.rblock == rblock) return b;
  }
  RawBlockModel ordinary;
  ordinary.rblock = rblock;
  return ordinary;
}

Bytes RawPageAddressOf(uint32_t p) {
  Bytes address(r::kFields + r::kFieldBytes, 0);
  le::Put32(&address, 0, kHeaderTag);
  le::Put32(&address, 4, p);
  le::Put16(&address, 8, Bits(p, 3, 1));
  le::Put16(&address, 10, Bits(p, 4, 3));
  le::Put16(&address, 12, Bits(p, 7, 1));
  le::Put16(&address, 14, Bits(p, 0, 1));
  le::Put16(&address, r::kRBlockField, Bits(p, 16, 11));
  le::Put16(&address, 18, static_cast<uint16_t>(Bits(p, 8, 8) | Bits(p, 27, 3) << 8));
  le::Put16(&address, 20, Bits(p, 1, 2));
  return address;
}

Bytes RawPage(const ModuleModel& m, const Bytes& fields) {
  Bytes page(ata::diag_identify::kFlashPageBytes, 0);
  char line[96];
  int n = std::snprintf(line, sizeof line, "RAW PAGE rblock %04X fields %04X %04X %04X %04X %04X %04X\n",
                        le::Get16(fields, r::kRBlockField - r::kFields), le::Get16(fields, 0), le::Get16(fields, 2),
                        le::Get16(fields, 4), le::Get16(fields, 6), le::Get16(fields, 10), le::Get16(fields, 12));
  uint64_t state = m.wwn;
  for (size_t i = 0; i + 1 < fields.size(); i += 2) state = state * 0x100000001B3ull ^ le::Get16(fields, i);
  for (size_t at = 0; at < page.size(); ++at) {
    page[at] = at < static_cast<size_t>(n) ? static_cast<uint8_t>(line[at]) : static_cast<uint8_t>(Mix(state));
  }
  return page;
}

SctOutcome PageConversionAction(AtaContext&, uint16_t function, const Bytes& sector) {
  if (function != 0) return SctOutcome{s::kInvalidFunction, {}};
  uint32_t low = le::Get32(sector, r::kAddressLow);
  uint32_t high = le::Get32(sector, r::kAddressHigh);
  if (high != 0 || low >= r::kSupportedPages) return SctOutcome{s::kInvalidFunction, {}};
  Bytes answer(r::kConversionBytes, 0);
  Bytes address = RawPageAddressOf(low);
  std::copy(address.begin(), address.end(), answer.begin());
  return ReadOf(ata::vendor::kPageConversion, function, std::move(answer));
}

SctOutcome BlockTablesAction(AtaContext& c, uint16_t function, const Bytes& sector) {
  uint16_t rblock = static_cast<uint16_t>(le::Get8(sector, r::kBlockLow) | (le::Get8(sector, r::kBlockHigh) & 0x7) << 8);
  RawBlockModel block = RawBlockOf(c.module, rblock);
  if (function == 0) {
    Bytes table(r::kPeTableBytes, 0);
    le::Put16(&table, 0, rblock);
    le::Put8(&table, r::kMappingState, block.mapping);
    le::Put8(&table, r::kBlockType, block.type);
    return ReadOf(ata::vendor::kBlockTables, function, std::move(table));
  }
  if (function == 1) {
    Bytes table(r::kMappingTableBytes, 0);
    const bool remapped = block.mapping > 1;
    for (uint32_t entry = 0; entry < r::kMappingTableBytes / 2; ++entry) {
      uint16_t value = entry >= r::kMappingEntries ? kUnusedEntry : remapped ? block.replacement : rblock;
      le::Put16(&table, 2 * entry, value);
    }
    return ReadOf(ata::vendor::kBlockTables, function, std::move(table));
  }
  return SctOutcome{s::kInvalidFunction, {}};
}

SctOutcome RawPageReadAction(AtaContext& c, uint16_t function, const Bytes& sector) {
  if (function != 1) return SctOutcome{s::kInvalidFunction, {}};
  Bytes fields(sector.begin() + r::kReadFields, sector.begin() + r::kReadFields + r::kFieldBytes);
  ++c.runtime.rawPageReads;
  return ReadOf(ata::vendor::kRawPageRead, function, RawPage(c.module, fields));
}

}  // namespace emu
