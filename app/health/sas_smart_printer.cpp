// The SMART table and JSON values of a module that speaks SAS, from the
// health counters of its LOG SENSE pages.
#include "app/health/health_json.h"
#include "app/health/single_precision.h"
#include "app/health/smart_attributes.h"
#include "app/health/smart_table_rows.h"

namespace {

enum : uint8_t {
  kSasRawReadErrors = 1,
  kSasReallocatedBlocks = 2,
  kSasPowerOnHours = 3,
  kSasStartStopCycles = 4,
  kSasEccRate = 5,
  kSasUnusedReserved = 6,
  kSasUncorrectedWrites = 7,
  kSasEraseFails = 8,
  kSasTemperature = 9,
  kSasUncorrectable = 10,
  kSasErrorPrimitives = 11,
  kSasLifeProtection = 12,
  kSasLifeLeft = 13,
  kSasWriteAmplification = 14,
  kSasHostWritesLow = 15,
  kSasHostWritesHigh = 16,
  kSasHostReadsLow = 17,
  kSasHostReadsHigh = 18,
  kSasMaxTemperature = 19,
  kSasGigabytesErased = 20,
};

constexpr uint64_t kBytesPerUnit = 512;
constexpr float kAmplificationScale = 100.0f;
// A transfer count is kept in 512-byte blocks below bit 55; shifted by 21
// it reads in gibibytes.
constexpr uint64_t kTransferCountMask = 0x007FFFFFFFFFFFFFull;
constexpr uint32_t kTransferCountShift = 21;
constexpr char kWriteAmplification[] = "Write Amplification";
constexpr char kReservedBlocksRemaining[] = "Reserved Blocks Remaining";

uint64_t TransferCount(uint32_t low, uint32_t high) {
  uint64_t count = (static_cast<uint64_t>(high) << 32) | low;
  return (count & kTransferCountMask) >> kTransferCountShift;
}

struct Remembered {
  bool haveReallocated = false;
  bool haveUnused = false;
  uint32_t reallocated = 0;
  uint32_t unused = 0;
  uint32_t writesLow = 0;
  uint32_t readsLow = 0;
};

void CurrentEntry(bool json, uint8_t id, uint32_t value, SasJsonRecord* r) {
  const char* name = GetSasSmartAttrName(id);
  switch (id) {
    case kSasRawReadErrors: {
      uint64_t bytes = static_cast<uint64_t>(value) * kBytesPerUnit;
      if (json) r->rawReadErrRate = bytes; else PrintLargeCountRow(name, bytes);
      break;
    }
    case kSasEccRate:
      if (json) r->eccRate = static_cast<float>(value); else PrintTwoDecimalsRow(name, static_cast<float>(value));
      break;
    case kSasTemperature:
      if (json) r->temp = value & 0xFF; else PrintDegreesRow(name, value & 0xFF);
      break;
    case kSasUncorrectable:
      if (json) r->uncorrectableErrCnt = value; else PrintCountRow(name, value);
      break;
    case kSasErrorPrimitives:
      if (json) r->errPrimCnt = value; else PrintCountRow(name, value);
      break;
    case kSasLifeProtection:
      if (!json) PrintProtectionRow(name, value);
      break;
    default:
      break;
  }
}

void CumulativeEntry(bool json, uint8_t id, uint32_t value, SasJsonRecord* r, Remembered* kept) {
  const char* name = GetSasSmartAttrName(id);
  uint32_t* count = nullptr;
  switch (id) {
    case kSasReallocatedBlocks:
      kept->haveReallocated = true;
      kept->reallocated = value;
      count = &r->reallocBlkCnt;
      break;
    case kSasUnusedReserved:
      kept->haveUnused = true;
      kept->unused = value;
      count = &r->reservedBlockCnt;
      break;
    case kSasPowerOnHours: count = &r->powerOnHours; break;
    case kSasStartStopCycles: count = &r->accuStartStopCycles; break;
    case kSasUncorrectedWrites: count = &r->totalUncorrectedWriteErr; break;
    case kSasEraseFails: count = &r->eraseFailCnt; break;
    case kSasLifeLeft: {
      uint32_t badBlocks = value & kLifeCountsBadBlocks;
      if (json) {
        r->lifeLeft = value;
        r->peLimited = badBlocks == 0 ? 1 : 0;
      } else {
        PrintLifeRow(name, badBlocks, value);
      }
      return;
    }
    case kSasWriteAmplification: {
      float amplification = SinglePrecision(static_cast<float>(value) / kAmplificationScale);
      if (json) r->writeAmplifier = amplification; else PrintTwoDecimalsRow(kWriteAmplification, amplification);
      return;
    }
    case kSasHostWritesLow: kept->writesLow = value; return;
    case kSasHostReadsLow: kept->readsLow = value; return;
    case kSasHostWritesHigh: {
      uint64_t total = TransferCount(kept->writesLow, value);
      if (json) r->totalHostWrites = total; else PrintLargeCountRow(name, total);
      return;
    }
    case kSasHostReadsHigh: {
      uint64_t total = TransferCount(kept->readsLow, value);
      if (json) r->totalHostReads = total; else PrintLargeCountRow(name, total);
      return;
    }
    case kSasMaxTemperature:
      if (json) r->maxLifetimeTemp = value; else PrintDegreesRow(name, value);
      return;
    case kSasGigabytesErased: {
      uint64_t erased = static_cast<uint64_t>(value) * kBytesPerUnit;
      if (json) r->gbErased = erased; else PrintLargeCountRow(name, erased);
      return;
    }
    default:
      return;
  }
  if (json) *count = value; else PrintCountRow(name, value);
}

}  // namespace

void PrintSasSmart(uint32_t json, const SasSmartRecord& values, SasJsonRecord* record) {
  SasJsonRecord unused{};
  SasJsonRecord* r = record != nullptr ? record : &unused;
  bool toJson = json != 0;
  if (!toJson) PrintSectionHeading(kCurrentHeading);
  for (const SasSmartEntry& entry : values.entry) {
    if (entry.attribute != 0) CurrentEntry(toJson, entry.attribute, entry.value, r);
  }
  if (!toJson) PrintSectionHeading(kCumulativeHeading);
  Remembered kept;
  for (const SasSmartEntry& entry : values.entry) {
    if (entry.attribute != 0) CumulativeEntry(toJson, entry.attribute, entry.value, r, &kept);
  }
  uint32_t percent = 0;
  if (kept.haveReallocated && kept.haveUnused && ReservedBlocksRemaining(kept.reallocated, kept.unused, &percent)) {
    if (toJson) r->percentResvBlocksRemaining = percent; else PrintPercentRow(kReservedBlocksRemaining, percent);
  }
}
