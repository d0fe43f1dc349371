// The wear and error counters of a module that speaks SAS, from five LOG
// SENSE pages, as pseudo-attributes that the health report names.
#pragma once

#include <cstddef>
#include <cstdint>

// One counter: the pseudo-attribute number (0: empty) and its value.
struct SasSmartEntry {
  uint8_t attribute;
  uint8_t unused[7];
  uint32_t value;
};
static_assert(sizeof(SasSmartEntry) == 12);
static_assert(offsetof(SasSmartEntry, value) == 8);

// The most the five pages give: 17 + 1, 1, 4, 1 and 1.
inline constexpr uint32_t kSasSmartEntries = 25;

// The caller zeroes it; entries are appended from slot 0 in page order.
struct SasSmartRecord {
  SasSmartEntry entry[kSasSmartEntries];
};
static_assert(sizeof(SasSmartRecord) == 300);

// Reads pages 0x2F, 0x0E, 0x19, 0x36 and 0x02 in that order and stops at
// the first that fails (what earlier pages gave stays). 0 or 1.
uint32_t CollectSSDHealthData(uint32_t deviceHandle, SasSmartRecord* record);
