// The block-table walk of -readraw over module replies of any content: the
// conversion reply (22 bytes), the PE table (512 bytes) and a mapping table
// of the rest of the input, as long as it is. A walk that goes on reads
// only inside the table, and the R-block it sends on is one a module has.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/readraw/raw_page_address.h"
#include "emu/host/emulator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  static emu::Emulator& card = emu::Install(emu::DefaultHost());
  if (size < kRawPageAddressSize + raw_page::kPeTableBytes) return 0;
  RawPageAddress address{};
  std::memcpy(address.bytes, input, kRawPageAddressSize);
  std::vector<uint8_t> peTable(input + kRawPageAddressSize, input + kRawPageAddressSize + raw_page::kPeTableBytes);
  std::vector<uint8_t> table(input + kRawPageAddressSize + raw_page::kPeTableBytes, input + size);

  if (!RawAddressFieldsUsable(address)) return 0;
  if (RBlockOf(address) > raw_page::kMaxRBlock) __builtin_trap();
  const uint32_t index = MappingTableIndex(address);
  if (index > 0x1FE || index % 2 != 0) __builtin_trap();

  PeTableVerdict verdict = JudgePeTable(peTable.data());
  if (verdict.readMapping && verdict.code != kBlockUser) __builtin_trap();
  if (verdict.readMapping) {
    RawPageAddress before = address;
    const bool followed = FollowMappingTable(&address, table.empty() ? nullptr : table.data(), table.size());
    if (followed && (index + 2 > table.size() || RBlockOf(address) > raw_page::kMaxRBlock)) __builtin_trap();
    if (!followed && std::memcmp(before.bytes, address.bytes, kRawPageAddressSize) != 0) __builtin_trap();
    // Only the R-block field may change.
    for (size_t i = 0; i < kRawPageAddressSize; ++i) {
      if ((i < raw_address::kRBlock || i > raw_address::kRBlock + 1) && before.bytes[i] != address.bytes[i]) {
        __builtin_trap();
      }
    }
  }
  card.TakeOutput();
  return 0;
}
