// The row formats of the SMART table: a name in 38 columns, then the value
// in 10 and an optional unit. Shared by the SATA and SAS printers.
#pragma once

#include <cstdint>

inline constexpr char kCurrentHeading[] = "-------------- Current (since last Power Cycle)  ----------------------";
inline constexpr char kCumulativeHeading[] = "-------------- Cumulative  --------------------------------------------";

void PrintSectionHeading(const char* heading);
void PrintCountRow(const char* name, uint32_t value);              // "%-38s%-10u\n"
void PrintLargeCountRow(const char* name, uint64_t value);         // "%-38s%llu\n"
void PrintTwoDecimalsRow(const char* name, float value);           // "%-38s%-10.2f\n"
void PrintOneDecimalRow(const char* name, float value);            // "%-38s%-10.1f\n"
void PrintExponentRow(const char* name, float value);              // "%-38s%e\n"
void PrintTextRow(const char* name, const char* text);             // "%-38s%-10s\n"
void PrintDegreesRow(const char* name, uint32_t value);            // "(degree C)"
void PrintPercentRow(const char* name, uint32_t value);            // "(%)"
void PrintGigabytesRow(const char* name, uint32_t value);          // "(Gigabytes)"
// The life protection status: 90 "Protection Enabled", 100 no row, any
// other value "Protection Unknown" and the value.
void PrintProtectionRow(const char* name, uint32_t value);
// The life row: the name and what the life is counted in (bit 0 of the
// raw value: clear program/erase cycles, set bad blocks), then the value.
void PrintLifeRow(const char* name, uint32_t countsBadBlocks, uint32_t value);

// Reserved blocks remaining: reserved ÷ (retired + reserved) × 100,
// truncated; false (no row) when the sum is 0.
bool ReservedBlocksRemaining(uint32_t retired, uint32_t reserved, uint32_t* percent);

inline constexpr uint32_t kProtectionEnabled = 90;
inline constexpr uint32_t kProtectionNotEngaged = 100;
inline constexpr uint32_t kLifeCountsBadBlocks = 0x1;
