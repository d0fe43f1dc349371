// The driver's event ioctl blocks (behind the 12-byte ioctl header), the
// records the library hands out for events and event-log entries, and the
// controller's log page 0 (extended page type 0x14).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/frames/driver_ioctls.h"

// The event-type mask: four u32 words; codes 0 to 127 are enabled by bit
// (code mod 32) of word (code / 32), higher codes always pass.
inline constexpr size_t kEventMaskWords = 4;
inline constexpr size_t kEventMaskBytes = 4 * kEventMaskWords;
inline constexpr uint32_t kEventCodesMasked = 32 * kEventMaskWords;

namespace event_query_block {
inline constexpr size_t kEntries = 12;  // u16, the entries the driver keeps
inline constexpr size_t kMask = 16;     // u32[4], the enabled event types
inline constexpr size_t kSize = 32;
static_assert(kMask + kEventMaskBytes == kSize);
}  // namespace event_query_block

namespace event_enable_block {
inline constexpr size_t kMask = 12;  // u32[4]
inline constexpr size_t kSize = 28;
static_assert(kMask + kEventMaskBytes == kSize);
}  // namespace event_enable_block

// One driver entry, as the report block carries them from its offset 12.
namespace event_entry {
inline constexpr size_t kCode = 0;      // u32
inline constexpr size_t kSequence = 4;  // u32, the event's context word
inline constexpr size_t kData = 8;      // 192 bytes
inline constexpr size_t kDataSize = 192;
inline constexpr size_t kSize = 200;
static_assert(kData + kDataSize == kSize);
}  // namespace event_entry

namespace event_report_block {
inline constexpr size_t kEntries = ioctl_header::kSize;
// The block for room entries: (room - 1) x 200 + 212 bytes.
constexpr size_t SizeFor(size_t room) { return kEntries + room * event_entry::kSize; }
static_assert(SizeFor(1) == 212);
}  // namespace event_report_block

// EventRecord, as callers receive it.
namespace event_record {
inline constexpr size_t kSizeWord = 0;  // u32, 216
inline constexpr size_t kZero = 4;      // u32
inline constexpr size_t kTime = 8;      // u64, seconds since the epoch when queued
inline constexpr size_t kEntry = 16;    // the driver entry: code, sequence, data
inline constexpr size_t kSequence = kEntry + event_entry::kSequence;
inline constexpr size_t kSize = 216;
static_assert(kEntry + event_entry::kSize == kSize);
}  // namespace event_record

// Log page 0: the controller's persistent event log.
namespace log_page0 {
inline constexpr uint8_t kNumber = 0;
inline constexpr size_t kEntryCount = 16;  // u16
inline constexpr size_t kEntries = 20;     // 48-byte entries
}  // namespace log_page0

namespace log_entry {
inline constexpr size_t kTimeStamp = 0;   // u64
inline constexpr size_t kSequence = 12;   // u16
inline constexpr size_t kQualifier = 14;  // u16
inline constexpr size_t kVpId = 16;       // u8
inline constexpr size_t kVfId = 17;       // u8
inline constexpr size_t kData = 20;       // 28 bytes
inline constexpr size_t kSize = 48;
static_assert(kData + 28 == kSize);
}  // namespace log_entry

// The event-log entry record, as callers receive it.
namespace event_log_record {
inline constexpr size_t kSizeWord = 0;  // u32, 64
inline constexpr size_t kZero = 4;      // u32
inline constexpr size_t kTime = 8;      // u64, when queued
inline constexpr size_t kEntry = 16;    // the 48-byte log page 0 entry
inline constexpr size_t kSize = 64;
static_assert(kEntry + log_entry::kSize == kSize);
}  // namespace event_log_record

// The message version from which the controller keeps log page 0.
inline constexpr uint16_t kEventLogMessageVersion = 0x0200;
