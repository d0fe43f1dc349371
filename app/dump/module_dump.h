// The modules' sections of the dump file: a SATA module's IDENTIFY data,
// SMART values and thresholds and its SMART logs; a module that speaks SAS
// its INQUIRY, VPD, mode and log pages. Titles carry the low 8 bits of the
// module's SSD handle.
#pragma once

#include <cstdint>

void DumpAtaIdentify(uint32_t vxHandle, uint32_t ssdHandle, uint32_t file);
void DumpSataSmart(uint32_t vxHandle, uint32_t ssdHandle, uint32_t file);
void DumpSasModule(uint32_t ssdHandle, uint32_t file);

// The log table of the SMART log section: 81 rows of a log address and a
// title format (empty: the generic title).
inline constexpr uint32_t kDumpLogRows = 81;
struct DumpLogRow {
  uint8_t address;
  const char* title;
};
const DumpLogRow& DumpLogTableRow(uint32_t row);
