#include "app/health/smart_table_rows.h"

#include "app/shell/console.h"
#include "app/health/single_precision.h"

void PrintSectionHeading(const char* heading) { ConsolePrint("\n%s\n", heading); }

void PrintCountRow(const char* name, uint32_t value) { ConsolePrint("%-38s%-10u\n", name, value); }

void PrintLargeCountRow(const char* name, uint64_t value) {
  ConsolePrint("%-38s%llu\n", name, static_cast<unsigned long long>(value));
}

void PrintTwoDecimalsRow(const char* name, float value) {
  ConsolePrint("%-38s%-10.2f\n", name, static_cast<double>(value));
}

void PrintOneDecimalRow(const char* name, float value) {
  ConsolePrint("%-38s%-10.1f\n", name, static_cast<double>(value));
}

void PrintExponentRow(const char* name, float value) { ConsolePrint("%-38s%e\n", name, static_cast<double>(value)); }

void PrintTextRow(const char* name, const char* text) { ConsolePrint("%-38s%-10s\n", name, text); }

void PrintDegreesRow(const char* name, uint32_t value) { ConsolePrint("%-38s%-10u (degree C)\n", name, value); }

void PrintPercentRow(const char* name, uint32_t value) { ConsolePrint("%-38s%-10u (%%)\n", name, value); }

void PrintGigabytesRow(const char* name, uint32_t value) { ConsolePrint("%-38s%-10u (Gigabytes)\n", name, value); }

void PrintProtectionRow(const char* name, uint32_t value) {
  if (value == kProtectionEnabled) {
    PrintTextRow(name, "Protection Enabled");
  } else if (value != kProtectionNotEngaged) {
    ConsolePrint("%-38s%-10s %u\n", name, "Protection Unknown", value);
  }
}

void PrintLifeRow(const char* name, uint32_t countsBadBlocks, uint32_t value) {
  ConsolePrint("%-14s%-24s%-10u (%%)\n", name, countsBadBlocks != 0 ? "(Bad Blocks)" : "(PE Cycles)", value);
}

bool ReservedBlocksRemaining(uint32_t retired, uint32_t reserved, uint32_t* percent) {
  uint32_t sum = retired + reserved;
  if (sum == 0) return false;
  float share = SinglePrecision(SinglePrecision(static_cast<float>(reserved) / static_cast<float>(sum)) * 100.0f);
  *percent = static_cast<uint32_t>(share);
  return true;
}
