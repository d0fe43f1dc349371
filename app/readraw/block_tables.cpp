// The address fields and the block tables of a raw page read: what the
// module's answers say, and the checks they pass before they are used.
#include "app/readraw/raw_page_address.h"

#include "app/shell/console.h"
#include "ctl/base/byte_order.h"

namespace {

struct FieldPlace {
  size_t offset;
  uint32_t shift;  // where the field goes in the mapping table index
  uint16_t limit;  // the largest value that keeps to its place
};

// The index fields in their order of the index, lowest first.
constexpr FieldPlace kIndexFields[] = {
    {raw_address::kF14, 1, 0x1},
    {raw_address::kF20, 2, 0x3},
    {raw_address::kF8, 4, 0x1},
    {raw_address::kF10, 5, 0x7},
    {raw_address::kF12, 8, 0x1},
};
constexpr uint32_t kIndexMask = 0x1FE;

enum : uint8_t {
  kTypeInvalid = 0,
  kTypeSystemA = 1,
  kTypeSystemB = 2,
  kTypeUserErasable = 3,
  kTypeSystemC = 5,
};
enum : uint8_t {
  kMappingInvalid = 0,
  kMappingNone = 1,
};

}  // namespace

uint16_t RBlockOf(const RawPageAddress& address) { return GetLe16(address.bytes, raw_address::kRBlock); }

bool RawAddressFieldsUsable(const RawPageAddress& address) {
  if (RBlockOf(address) > raw_page::kMaxRBlock) return false;
  for (const FieldPlace& f : kIndexFields) {
    if (GetLe16(address.bytes, f.offset) > f.limit) return false;
  }
  return true;
}

uint32_t MappingTableIndex(const RawPageAddress& address) {
  uint32_t index = 0;
  for (const FieldPlace& f : kIndexFields) index |= static_cast<uint32_t>(GetLe16(address.bytes, f.offset)) << f.shift;
  return index & kIndexMask;
}

PeTableVerdict JudgePeTable(const uint8_t* peTable) {
  PeTableVerdict verdict;
  const uint8_t type = Get8(peTable, raw_page::kBlockType);
  const uint8_t mapping = Get8(peTable, raw_page::kMappingState);
  if (type == kTypeInvalid) {
    ConsolePrint("\nInvalid Block requested by user: Access Denied\n");
    verdict.code = kBlockInvalid;
    return verdict;
  }
  if (type == kTypeSystemA || type == kTypeSystemB || type == kTypeSystemC) {
    ConsolePrint("\nSystem Block requested by user: Access Denied\n");
    verdict.code = kBlockSystem;
    return verdict;
  }
  if (mapping == kMappingInvalid) {
    ConsolePrint("\nRequested Block Type: Invalid\n");
    verdict.code = kBlockInvalid;
    return verdict;
  }
  if (mapping == kMappingNone) {
    ConsolePrint("\nRequested Block Type: USER\nNo Re-Mapped Blocks found\n");
    verdict.code = kBlockUser;
    return verdict;
  }
  ConsolePrint("\nRequested Block Type: USER\n");
  if (type == kTypeUserErasable) ConsolePrint("This page *may* get overwritten after secure media erase\n");
  verdict.code = kBlockUser;
  verdict.readMapping = true;
  return verdict;
}

bool FollowMappingTable(RawPageAddress* address, const uint8_t* table, size_t tableSize) {
  const uint32_t index = MappingTableIndex(*address);
  if (index + 2 > tableSize) return false;
  const uint16_t entry = GetLe16(table, index);
  if (entry > raw_page::kMaxRBlock) return false;
  const uint16_t old = RBlockOf(*address);
  if (entry != old) {
    ConsolePrint("Requested USER Block found Re-Mapped\nOld RBLOCK = 0x%2X, New RBLOCK = 0x%2X\n", old, entry);
    PutLe16(address->bytes, raw_address::kRBlock, entry);
  }
  return true;
}
