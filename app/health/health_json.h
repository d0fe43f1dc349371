// The JSON form of the health report: the module records that the SMART
// printers fill, and the writers of the header and of one module object.
#pragma once

#include <cstdint>

class JsonWriter;

inline constexpr uint32_t kJsonSerialSize = 20;

// One SATA module's values, cleared for every module, so a module whose
// SMART data could not be read reports empty values and an attribute a
// module lacks reports 0.
struct SataJsonRecord {
  uint32_t slot;
  char serial[kJsonSerialSize];    // INQUIRY bytes 36-55, not terminated
  bool unconfigured;
  uint32_t warranty;
  uint64_t trimCount;
  uint32_t locked;
  // Current.
  uint64_t bytesRead;
  float wearRangeDelta;
  float softReadErrorRate;
  uint32_t softReadErrorExponent;  // 1: written with %e (0 < raw high < raw low)
  uint32_t uParix;                 // raw byte 0 of attribute 187, in both sections
  uint32_t temp;
  uint32_t uECC;
  uint32_t sataRerr;
  // Cumulative.
  uint32_t retiredBlkCnt;
  float powerOnHours;
  uint32_t powerCycleCnt;
  uint32_t gbErased;
  uint32_t reservedBlockCnt;
  uint32_t programFailCnt;
  uint32_t eraseFailCnt;
  uint32_t unexpectedPwrLossCnt;
  uint32_t ioErrCodeRate;
  uint32_t maxLifetimeTemp;
  uint32_t lifeLeft;
  uint32_t peLimited;              // 1 when attribute 231 counts program/erase cycles
  uint32_t totalHostWrites;
  uint32_t totalHostReads;
  float writeAmplifier;
  uint32_t percentResvBlocksRemaining;
};

// One SAS module's values (the same frame).
struct SasJsonRecord {
  uint32_t slot;
  char serial[kJsonSerialSize];
  bool unconfigured;
  uint32_t warranty;
  uint64_t trimCount;
  uint64_t rawReadErrRate;
  float eccRate;
  uint32_t temp;
  uint32_t uncorrectableErrCnt;
  uint32_t errPrimCnt;
  uint32_t reallocBlkCnt;
  uint32_t powerOnHours;
  uint32_t accuStartStopCycles;
  uint32_t reservedBlockCnt;
  uint32_t totalUncorrectedWriteErr;
  uint32_t eraseFailCnt;
  uint32_t maxLifetimeTemp;
  uint32_t lifeLeft;
  uint32_t peLimited;
  uint64_t gbErased;
  uint64_t totalHostWrites;
  uint64_t totalHostReads;
  float writeAmplifier;
  uint32_t percentResvBlocksRemaining;
};

// The document's opening: its name, the utility's version and the
// controller's number.
void WriteHealthJsonHeader(JsonWriter* json, uint32_t controller);

// One module object, the "device" array opened before the first (module
// counter 0). Cage and location are those of the selected controller's
// board; the serial number keeps its letters and digits only; with the
// unconfigured flag the module's warranty remaining closes cumulativeData.
void WriteSataSmartJson(JsonWriter* json, int8_t moduleCounter, const SataJsonRecord& record);
void WriteSasSmartJson(JsonWriter* json, int8_t moduleCounter, const SasJsonRecord& record);
