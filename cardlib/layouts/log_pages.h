// The LOG SENSE pages of the health collection: what is asked for and
// where the counters are (offsets from the page start, header included;
// values big-endian unless stated).
#pragma once

#include <cstddef>
#include <cstdint>

// Informational exceptions (0x2F): fixed 24-byte parameters.
namespace log_page_2f {
inline constexpr uint8_t kCode = 0x2F;
inline constexpr uint32_t kAllocation = 424;
inline constexpr size_t kParameters = 16;
inline constexpr uint32_t kParameterCount = 17;
inline constexpr size_t kParameterSize = 24;
inline constexpr size_t kParameterCode = 0;   // u16
inline constexpr size_t kParameterValue = 8;  // u32
inline constexpr size_t kStoredValue = 12;    // u32 as the module stores it (little-endian)
inline constexpr uint8_t kStoredValueAttribute = 19;
static_assert(kParameters + kParameterCount * kParameterSize <= kAllocation);
}  // namespace log_page_2f

// Start-stop cycle counter (0x0E).
namespace log_page_0e {
inline constexpr uint8_t kCode = 0x0E;
inline constexpr uint32_t kAllocation = 40;
inline constexpr size_t kValue = 36;  // u32
inline constexpr uint8_t kAttribute = 4;
static_assert(kValue + 4 <= kAllocation);
}  // namespace log_page_0e

// General statistics and performance (0x19).
namespace log_page_19 {
inline constexpr uint8_t kCode = 0x19;
inline constexpr uint32_t kAllocation = 164;
struct Counter {
  size_t offset;  // u32
  uint8_t attribute;
};
inline constexpr Counter kCounters[] = {{28, 15}, {24, 16}, {36, 17}, {32, 18}};
}  // namespace log_page_19

// Pages searched for the parameter with code 6: 8-byte parameters from 4.
namespace log_page_search {
inline constexpr size_t kParameters = 4;
inline constexpr size_t kParameterSize = 8;
inline constexpr size_t kParameterCode = 0;   // u16
inline constexpr size_t kParameterValue = 4;  // u32
inline constexpr uint16_t kWantedCode = 6;
}  // namespace log_page_search

namespace log_page_36 {
inline constexpr uint8_t kCode = 0x36;
inline constexpr uint32_t kAllocation = 220;
inline constexpr uint32_t kParameterCount = 27;
inline constexpr uint8_t kAttribute = 11;
static_assert(log_page_search::kParameters + kParameterCount * log_page_search::kParameterSize <= kAllocation);
}  // namespace log_page_36

// Write error counters (0x02).
namespace log_page_02 {
inline constexpr uint8_t kCode = 0x02;
inline constexpr uint32_t kAllocation = 28;
inline constexpr uint32_t kParameterCount = 3;
inline constexpr uint8_t kAttribute = 7;
static_assert(log_page_search::kParameters + kParameterCount * log_page_search::kParameterSize <= kAllocation);
}  // namespace log_page_02
