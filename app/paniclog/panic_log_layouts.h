// What -paniclog exchanges with a module: the vendor SCT action 0xC601
// (function 0 query, 1 extract, 2 erase), the four 36-byte panic slot
// headers the query answers, and the sizes of the transfers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace panic_log {
inline constexpr uint16_t kAction = 0xC601;
inline constexpr uint16_t kFunctionQuery = 0;
inline constexpr uint16_t kFunctionExtract = 1;
inline constexpr uint16_t kFunctionErase = 2;
// Command sector, beside the action and function codes.
inline constexpr size_t kQueryParameter = 4;  // u8, the query
inline constexpr size_t kPanicSlot = 6;       // u8, extract and erase
inline constexpr uint8_t kQueryHeaders = 1;   // the query parameter the commands pass

inline constexpr uint32_t kQueryCommandBytes = 1024;  // the query's command block
inline constexpr uint32_t kCommandBytes = 512;        // extract and erase
inline constexpr uint32_t kSlotCount = 4;
inline constexpr uint32_t kQueryBytes = 1024;    // the data read after a query
inline constexpr uint32_t kHeaderBytes = 144;    // the four headers at its start
inline constexpr uint32_t kExtractChunk = 128;   // sectors per read
inline constexpr uint32_t kExtractTail = 32;     // the chunk once fewer remain; the total's multiple
inline constexpr uint32_t kEraseSectors = 2;     // read after an erase, in one chunk
inline constexpr uint32_t kReadAttempts = 7;     // failed reads over one transfer before it ends
}  // namespace panic_log

// PanicSlotHeader, four in a row from byte 0 of the query answer.
namespace panic_slot_header {
inline constexpr size_t kSize = 36;
inline constexpr size_t kPrefix = 0;            // u32[2], printed word 1 then word 0
inline constexpr size_t kTransaction = 8;       // u32
inline constexpr size_t kSyncCode = 12;         // u32
inline constexpr size_t kUnlockLevel = 16;      // u32
inline constexpr size_t kHeaderSize = 20;       // u32
inline constexpr size_t kDataSize = 24;         // u32, bytes of dump
inline constexpr size_t kEPageAddress = 28;     // u32
inline constexpr size_t kValid = 32;            // u16, 1: the slot holds a panic
inline constexpr size_t kCrc = 34;              // u16, 1: the dump's check passed
static_assert(kCrc + 2 == kSize && 4 * kSize == panic_log::kHeaderBytes);
}  // namespace panic_slot_header
