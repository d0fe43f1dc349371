// The SMART attribute table of the health report: the attributes' display
// names, the two sections a module's table is printed in ("Current" since
// the last power cycle, "Cumulative" over its life) with the figures
// derived from them, the module's JSON values, and the -raw dumps.
#pragma once

#include <cstdint>

#include "cardlib/libzk.h"

struct SataJsonRecord;
struct SasJsonRecord;

// The display name of a SATA attribute id ("Vendor Specific" for ids
// without one) and of a SAS health entry id.
const char* GetSataSmartAttrName(uint8_t id);
const char* GetSasSmartAttrName(uint8_t id);

// Text (json 0): the module's table. JSON: the record's values; nothing is
// printed. Entries are walked in their order; an id the section does not
// show is passed over, and one that occurs twice gives two rows.
void PrintSataSmart(uint32_t json, const SataSmartValues& values, SataJsonRecord* record);
void PrintSasSmart(uint32_t json, const SasSmartRecord& values, SasJsonRecord* record);

// The -raw rows of the 30 twelve-byte entries that start at `entries` (byte
// 2 of the SMART data): each with its offset in the data and its bytes from
// the last to the first. A null pointer prints only the line break.
void PrintSmartEntriesRaw(const uint8_t* entries);

// The -raw dump of a module that speaks SAS: five LOG SENSE pages
// (cumulative values) as rows of 16 bytes.
void DumpSasHealthLogPages(uint32_t ssdHandle);
