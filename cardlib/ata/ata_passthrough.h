// ATA commands to a flash module through the controller's SATA passthrough:
// the SMART feature set, READ LOG EXT, and the SCT transport built on SMART
// READ LOG and WRITE LOG (command sector to log 0xE0, data through log 0xE1,
// status read back from log 0xE0). Every operation answers 0 success or 1.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kAtaSectorSize = 512;

// The outcome of the last passthrough, kept for the whole process.
struct AtaPassthroughStatus {
  uint32_t lastPassthroughResult;  // what QmxSataPassthrough answered
  uint32_t lastAtaStatus;          // returned ATA status, the error register in bits 8-15
  uint32_t lastSctStatus;          // SCT status byte 0 in bits 8-15, device state (byte 10) in bits 0-7
};
static_assert(sizeof(AtaPassthroughStatus) == 12);

// The library's status words (the SCT operations clear them first).
extern AtaPassthroughStatus g_ataPassthroughStatus;

// SMART operations of SendSmartCommand.
enum : uint32_t {
  kSmartReadData = 0,
  kSmartReadThresholds = 1,
  kSmartReadLog = 2,
  kSmartNoOperation = 3,
  kSmartWriteLog = 4,
  kSmartReadDataForced = 5,        // device bit 7: the attribute values read from flash
  kSmartReadThresholdsForced = 6,
};

// Log selects of the SCT transport.
enum : uint32_t {
  kSctCommandLog = 0,  // log 0xE0
  kSctDataLog = 1,     // log 0xE1
};

// One SMART command; length is the data phase in bytes and must be a whole
// number of sectors that the 8-bit sector count holds (1 to 255). The
// operation decides the direction. 0 or 1.
uint32_t SendSmartCommand(uint32_t vxHandle, uint32_t ssdHandle, uint32_t operation, uint32_t logSelect,
                          void* buffer, uint32_t length);
uint32_t SmartReadDataAlt(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length);
uint32_t SmartReadDataForced(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length);
uint32_t SmartReadThresholds(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length);
uint32_t SmartReadThresholdsForced(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length);

// Reads sectorCount sectors of a log into buffer (the whole buffer is the
// data phase): SMART READ LOG up to 255 sectors (the page is not sent), READ
// LOG EXT with the page from 256 to 65535. Refused without sending: a null
// buffer, no sectors, more than 65535, or more than the buffer holds.
uint32_t ReadAtaLog(uint32_t vxHandle, uint32_t ssdHandle, uint8_t logAddress, uint32_t sectorCount,
                    void* buffer, uint32_t bufferLength, uint16_t logPage);

inline constexpr uint32_t kSmartAttributeCount = 30;
inline constexpr uint32_t kSataSmartValuesSize = 332;

struct SmartAttributeValue {
  uint8_t id;
  uint8_t unused;      // not filled by ReadSmartData
  uint8_t normalized;
};
static_assert(sizeof(SmartAttributeValue) == 3);

struct SmartRawValue {
  uint32_t low;   // raw bytes 0-3
  uint32_t high;  // raw bytes 4-5 and the entry's last byte
};
static_assert(sizeof(SmartRawValue) == 8);

// The SMART attributes of a module, in the order of the SMART data.
struct SataSmartValues {
  SmartAttributeValue attribute[kSmartAttributeCount];
  uint8_t pad[2];
  SmartRawValue raw[kSmartAttributeCount];
};
static_assert(sizeof(SataSmartValues) == kSataSmartValuesSize);
static_assert(offsetof(SataSmartValues, raw) == 92);

// SMART READ DATA (forced: from flash) decoded into values; the 512 bytes
// are also copied to data when it is not null. 0 or 1.
uint32_t ReadSmartData(uint32_t vxHandle, uint32_t ssdHandle, SataSmartValues* values, uint8_t* data,
                       uint32_t forced);

// The SCT transport. The command sector is the caller's (action code at
// bytes 0-1, function code at 2-3, little-endian); each step is followed by
// a status poll of five retries.
uint32_t SctSendCommand(uint32_t vxHandle, uint32_t ssdHandle, const void* sector, uint32_t length);
uint32_t SctReadData(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length);
uint32_t SctWriteData(uint32_t vxHandle, uint32_t ssdHandle, const void* buffer, uint32_t length);
// Reads the SCT status until it is ready (format 3, device state 0), at most
// retries + 1 times, back to back. 0 ready, 1 not ready or a failed read.
uint32_t SctPollStatus(uint32_t vxHandle, uint32_t ssdHandle, uint32_t retries);

// Copies the three status words out in table order. Always 0.
uint32_t GetAtaPassthroughStatus(uint32_t* lastPassthroughResult, uint32_t* lastAtaStatus,
                                 uint32_t* lastSctStatus);
