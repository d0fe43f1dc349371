// SCSI commands that the application sends to a module, each one
// ScsiPassthroughRequest to the module's device handle: INQUIRY and the
// unit serial number page, MODE SENSE and SELECT (10), the error history of
// READ BUFFER, and the dump's raw 6- and 10-byte reads. A command counts as
// failed when the passthrough fails or the module answers a status other
// than GOOD.
#pragma once

#include <cstdint>

inline constexpr uint32_t kInquirySize = 96;
inline constexpr uint32_t kInquiryReadSize = 512;
inline constexpr uint32_t kSerialNumberSize = 20;
inline constexpr uint32_t kModePageSize = 252;
inline constexpr uint32_t kErrorHistorySize = 0x080000;
inline constexpr uint32_t kErrorDirectorySize = 2088;
inline constexpr uint32_t kScsiReadSize = 512;

// Standard INQUIRY: the first 96 bytes of the data into the caller's
// buffer. The passthrough's status (1 for a status other than GOOD).
uint32_t ScsiInquiry(uint32_t deviceHandle, uint8_t* inquiry);
// The same with all 512 bytes of the data. 0 or 1.
uint32_t ScsiInquiryStd(uint32_t deviceHandle, uint8_t* inquiry);
// The unit serial number (VPD page 0x80, bytes 4 to 23): exactly 20 bytes.
// The passthrough's status (1 for a status other than GOOD).
uint32_t ScsiSerialNumber(uint32_t deviceHandle, uint8_t* serial);
// MODE SENSE (10) of page 1, current values, into 252 bytes; MODE SELECT
// (10) with page format and save pages of length bytes. 0 or 1.
uint32_t ModeSense10(uint32_t deviceHandle, uint8_t* data);
uint32_t ModeSelect10(uint32_t deviceHandle, const uint8_t* data, uint32_t length);
// READ BUFFER of the error history: one buffer ID into 524288 bytes; the
// directory without data. The passthrough's status (low 8 bits).
uint32_t ReadErrorHistory(uint32_t deviceHandle, uint8_t bufferId, uint8_t* data);
uint32_t ReadErrorHistoryDir(uint32_t deviceHandle);
// Reads the error history directory (2088 bytes into the caller's buffer)
// and prints it as a table headed with the module number; the entries the
// directory length names, as far as the data received holds them. The
// passthrough's status (low 8 bits).
uint32_t PrintErrorHistory(uint32_t deviceHandle, uint8_t* data, uint32_t moduleNumber);
// The caller's CDB with 512 bytes of data in. 0 or 1.
uint32_t ScsiCdb10In(uint32_t deviceHandle, const uint8_t* cdb, uint8_t* data);
uint32_t ScsiCdb6In(uint32_t deviceHandle, const uint8_t* cdb, uint8_t* data);
