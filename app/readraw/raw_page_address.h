// The raw-flash exchanges of -readraw with a module (vendor SCT actions
// 0xC00B, 0xC03B, 0xC00C) and the address and block tables they move, with
// the checks that every value the module hands back passes before the
// block tables are indexed with it or it is sent on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace raw_page {
inline constexpr uint16_t kConversionAction = 0xC00B;  // function 0
inline constexpr uint16_t kBlockTablesAction = 0xC03B; // function 0 PE table, 1 mapping table
inline constexpr uint16_t kRawReadAction = 0xC00C;     // function 1
inline constexpr uint16_t kPeTableFunction = 0;
inline constexpr uint16_t kMappingTableFunction = 1;
inline constexpr uint16_t kRawReadFunction = 1;
// Command sectors.
inline constexpr size_t kAddressLow = 8;     // u32, conversion
inline constexpr size_t kAddressHigh = 12;   // u32
inline constexpr size_t kBlockLow = 4;       // u8, block tables: R-block bits 0-7
inline constexpr size_t kBlockHigh = 5;      // u8, R-block bits 8-10
inline constexpr size_t kReadFields = 8;     // the 14 field bytes, raw read
// Replies.
inline constexpr uint32_t kConversionBytes = 512;
inline constexpr uint32_t kPeTableBytes = 512;
inline constexpr uint32_t kMappingTableBytes = 1024;
inline constexpr size_t kMappingState = 2;   // u8, PE table
inline constexpr size_t kBlockType = 3;      // u8, PE table
// The highest page address and R-block number a module takes.
inline constexpr uint32_t kMaxPageAddress = 0x3FFFFFFF;
inline constexpr uint16_t kMaxRBlock = 0x7FF;
}  // namespace raw_page

// The module's form of a physical page address: an 8-byte reply header,
// then seven u16 address fields (little-endian) at 8, 10, ..., 20; the one
// at 16 is the R-block number.
inline constexpr uint32_t kRawPageAddressSize = 22;
struct RawPageAddress {
  uint8_t bytes[kRawPageAddressSize];
};
static_assert(sizeof(RawPageAddress) == kRawPageAddressSize);

namespace raw_address {
inline constexpr size_t kFields = 8;
inline constexpr size_t kFieldBytes = 14;
inline constexpr size_t kF8 = 8;
inline constexpr size_t kF10 = 10;
inline constexpr size_t kF12 = 12;
inline constexpr size_t kF14 = 14;
inline constexpr size_t kRBlock = 16;
inline constexpr size_t kF20 = 20;
static_assert(kFields + kFieldBytes == kRawPageAddressSize);
}  // namespace raw_address

// Block check result codes.
enum : uint32_t {
  kBlockInvalid = 0xA000,
  kBlockUser = 0xA001,  // go on
  kBlockSystem = 0xA002,
};

uint16_t RBlockOf(const RawPageAddress& address);
// True when the R-block fits its 11 bits and each field that goes into the
// mapping table's index fits its place there (F14 one bit, F20 two, F8
// one, F10 three, F12 one), so that no two addresses share an entry and
// the R-block sent is the one meant.
bool RawAddressFieldsUsable(const RawPageAddress& address);
// The byte index of the address's entry in a mapping table:
// (F12 << 8 | F10 << 5 | F8 << 4 | F20 << 2 | F14 << 1) & 0x1FE.
uint32_t MappingTableIndex(const RawPageAddress& address);

// What the PE table (512 bytes) says of a block: the code, and whether the
// mapping table must be read (a user block that is re-mapped). The texts
// are printed as the check goes.
struct PeTableVerdict {
  uint32_t code = kBlockInvalid;
  bool readMapping = false;
};
PeTableVerdict JudgePeTable(const uint8_t* peTable);

// Follows the mapping table (tableSize bytes) for the address: when the
// entry names another block, prints the re-mapping and puts the entry into
// the R-block field. False (the address unchanged) when the index falls
// outside the table or the entry is not a block number a module takes.
bool FollowMappingTable(RawPageAddress* address, const uint8_t* table, size_t tableSize);

// The exchanges (each 0, or a status after its message).
uint32_t ConvertPhysicalPage(uint32_t vxHandle, uint32_t ssdHandle, uint32_t low, uint32_t high,
                             RawPageAddress* address);
uint32_t getBlockInfo(uint32_t vxHandle, uint32_t ssdHandle, RawPageAddress* address, uint32_t* code);
uint32_t readRawPhysical(uint32_t vxHandle, uint32_t ssdHandle, const RawPageAddress& address, uint8_t* buffer,
                         uint16_t pageSize);
