// The SSD event log as a text file: each 512-byte sector under its heading,
// as 16 rows of eight 32-bit words, each row headed with its byte offset in
// the whole log.
#pragma once

#include <cstdint>
#include <string>

// The text of one sector: "SSD Event Log Sector N", 16 rows "OFFS:" and
// eight " WWWWWWWW" (little-endian words), then an empty line twice.
std::string SsdEventSectorText(const uint8_t* sector, uint32_t number);

// Writes the log (sectors x 512 bytes) to the file; nothing for 0 sectors.
// 0; 1 after "ERROR: Failed to create file '%s'\n" or "%s: Error writing SSD
// Event Log Sector %d data to file '%s'.\n", leaving no file behind.
uint32_t WriteSsdEventLogText(const char* fileName, const uint8_t* log, uint32_t sectors);
