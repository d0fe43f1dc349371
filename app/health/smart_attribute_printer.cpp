// The SATA module's SMART table and JSON values.
#include "app/health/health_json.h"
#include "app/health/single_precision.h"
#include "app/health/smart_attributes.h"
#include "app/health/smart_table_rows.h"

namespace {

enum : uint8_t {
  kAttrBytesRead = 1,
  kAttrRetiredBlocks = 5,
  kAttrPowerOnHours = 9,
  kAttrPowerCycles = 12,
  kAttrSoftReadErrorRate = 13,
  kAttrGigabytesErased = 100,
  kAttrReservedBlocks = 170,
  kAttrProgramFails = 171,
  kAttrEraseFails = 172,
  kAttrUnexpectedPowerLoss = 174,
  kAttrWearRangeDelta = 177,
  kAttrIoErrorCodeRate = 184,
  kAttrUncorrectableParix = 187,
  kAttrTemperature = 194,
  kAttrUncorrectableEcc = 195,
  kAttrSataRErrors = 199,
  kAttrLifeProtection = 230,
  kAttrLifeLeft = 231,
  kAttrNandWrites = 233,
  kAttrHostWritesForAmplification = 234,
  kAttrTotalHostWrites = 241,
  kAttrTotalHostReads = 242,
};

constexpr uint64_t kBytesPerUnit = 512;
constexpr float kMillisecondsPerHour = 3600000.0f;
constexpr char kMaximumLifetimeTemperature[] = "Maximum Lifetime Temperature";
constexpr char kWriteAmplification[] = "Write Amplification";
constexpr char kReservedBlocksRemaining[] = "Reserved Blocks Remaining";
constexpr float kNoQuotient = -1.0f;

uint32_t RawByte0(const SmartRawValue& raw) { return raw.low & 0xFF; }
uint32_t RawByte2(const SmartRawValue& raw) { return (raw.low >> 16) & 0xFF; }

// Values remembered across the sections for the derived figures.
struct Remembered {
  bool haveNandWrites = false;
  bool haveHostWrites = false;
  bool haveRetired = false;
  bool haveReserved = false;
  uint32_t nandWrites = 0;
  uint32_t hostWrites = 0;
  uint32_t retired = 0;
  uint32_t reserved = 0;
};

void CurrentEntry(bool json, uint8_t id, uint8_t normalized, const SmartRawValue& raw, SataJsonRecord* r) {
  const char* name = GetSataSmartAttrName(id);
  switch (id) {
    case kAttrBytesRead: {
      uint64_t bytes = static_cast<uint64_t>(raw.low) * kBytesPerUnit;
      if (json) r->bytesRead = bytes; else PrintLargeCountRow(name, bytes);
      break;
    }
    case kAttrSoftReadErrorRate: {
      // High over low: "NA" without a low word; small rates need the
      // exponent to show at all.
      bool noLow = raw.low == 0;
      bool exponent = !noLow && raw.high != 0 && raw.high < raw.low;
      float quotient = noLow ? kNoQuotient
                             : SinglePrecision(static_cast<float>(raw.high) / static_cast<float>(raw.low));
      if (json) {
        r->softReadErrorRate = quotient;
        r->softReadErrorExponent = exponent ? 1 : 0;
      } else if (noLow) {
        PrintTextRow(name, "NA");
      } else if (exponent) {
        PrintExponentRow(name, quotient);
      } else {
        PrintTwoDecimalsRow(name, quotient);
      }
      break;
    }
    case kAttrWearRangeDelta:
      if (json) r->wearRangeDelta = static_cast<float>(normalized); else PrintPercentRow(name, normalized);
      break;
    case kAttrUncorrectableParix:
      if (json) r->uParix = RawByte0(raw); else PrintCountRow(name, RawByte0(raw));
      break;
    case kAttrTemperature:
      if (json) r->temp = RawByte0(raw); else PrintDegreesRow(name, RawByte0(raw));
      break;
    case kAttrUncorrectableEcc:
      if (json) r->uECC = raw.high; else PrintCountRow(name, raw.high);
      break;
    case kAttrSataRErrors:
      if (json) r->sataRerr = raw.low; else PrintCountRow(name, raw.low);
      break;
    case kAttrLifeProtection:
      if (!json) PrintProtectionRow(name, normalized);
      break;
    default:
      break;
  }
}

void CumulativeEntry(bool json, uint8_t id, uint8_t normalized, const SmartRawValue& raw, SataJsonRecord* r,
                     Remembered* kept) {
  const char* name = GetSataSmartAttrName(id);
  uint32_t* count = nullptr;  // the record's field of a plain count shown as raw low
  switch (id) {
    case kAttrRetiredBlocks:
      kept->haveRetired = true;
      kept->retired = raw.low;
      count = &r->retiredBlkCnt;
      break;
    case kAttrPowerOnHours: {
      float hours = SinglePrecision(static_cast<float>(raw.low) +
                                    SinglePrecision(static_cast<float>(raw.high) / kMillisecondsPerHour));
      if (json) r->powerOnHours = hours; else PrintOneDecimalRow(name, hours);
      return;
    }
    case kAttrPowerCycles: count = &r->powerCycleCnt; break;
    case kAttrGigabytesErased:
      if (json) r->gbErased = raw.low; else PrintGigabytesRow(name, raw.low);
      return;
    case kAttrReservedBlocks:
      kept->haveReserved = true;
      kept->reserved = raw.low;
      count = &r->reservedBlockCnt;
      break;
    case kAttrProgramFails: count = &r->programFailCnt; break;
    case kAttrEraseFails: count = &r->eraseFailCnt; break;
    case kAttrUnexpectedPowerLoss: count = &r->unexpectedPwrLossCnt; break;
    case kAttrIoErrorCodeRate: count = &r->ioErrCodeRate; break;
    case kAttrUncorrectableParix:
      if (json) r->uParix = RawByte0(raw); else PrintCountRow(name, RawByte0(raw));
      return;
    case kAttrTemperature:
      if (json) r->maxLifetimeTemp = RawByte2(raw); else PrintDegreesRow(kMaximumLifetimeTemperature, RawByte2(raw));
      return;
    case kAttrLifeLeft: {
      uint32_t badBlocks = raw.low & kLifeCountsBadBlocks;
      if (json) {
        r->lifeLeft = normalized;
        r->peLimited = badBlocks == 0 ? 1 : 0;
      } else {
        PrintLifeRow(name, badBlocks, normalized);
      }
      return;
    }
    case kAttrNandWrites:
      kept->haveNandWrites = true;
      kept->nandWrites = raw.low;
      return;
    case kAttrHostWritesForAmplification:
      kept->haveHostWrites = true;
      kept->hostWrites = raw.low;
      return;
    case kAttrTotalHostWrites: count = &r->totalHostWrites; break;
    case kAttrTotalHostReads: count = &r->totalHostReads; break;
    default:
      return;
  }
  if (json) *count = raw.low; else PrintCountRow(name, raw.low);
}

void DerivedFigures(bool json, const Remembered& kept, SataJsonRecord* r) {
  if (kept.haveNandWrites && kept.haveHostWrites) {
    if (kept.hostWrites == 0) {
      if (json) r->writeAmplifier = kNoQuotient; else PrintTextRow(kWriteAmplification, "NA");
    } else {
      float amplification =
          SinglePrecision(static_cast<float>(kept.nandWrites) / static_cast<float>(kept.hostWrites));
      if (json) r->writeAmplifier = amplification; else PrintTwoDecimalsRow(kWriteAmplification, amplification);
    }
  }
  uint32_t percent = 0;
  if (kept.haveRetired && kept.haveReserved && ReservedBlocksRemaining(kept.retired, kept.reserved, &percent)) {
    if (json) r->percentResvBlocksRemaining = percent; else PrintPercentRow(kReservedBlocksRemaining, percent);
  }
}

}  // namespace

void PrintSataSmart(uint32_t json, const SataSmartValues& values, SataJsonRecord* record) {
  SataJsonRecord unused{};
  SataJsonRecord* r = record != nullptr ? record : &unused;
  bool toJson = json != 0;
  if (!toJson) PrintSectionHeading(kCurrentHeading);
  for (uint32_t i = 0; i < kSmartAttributeCount; ++i) {
    uint8_t id = values.attribute[i].id;
    if (id != 0) CurrentEntry(toJson, id, values.attribute[i].normalized, values.raw[i], r);
  }
  if (!toJson) PrintSectionHeading(kCumulativeHeading);
  Remembered kept;
  for (uint32_t i = 0; i < kSmartAttributeCount; ++i) {
    uint8_t id = values.attribute[i].id;
    if (id != 0) CumulativeEntry(toJson, id, values.attribute[i].normalized, values.raw[i], r, &kept);
  }
  DerivedFigures(toJson, kept, r);
}
