#include "app/health/health_json.h"

#include "app/shell/json_writer.h"
#include "app/shell/memory_strings.h"
#include "app/card/slot_naming.h"

namespace {

using Style = JsonWriter::FloatStyle;

constexpr char kVxVersion[] = "111.00.01.00";

// Opens the array before the first module and the module object with the
// fields every module has.
void BeginModule(JsonWriter* json, int8_t moduleCounter, uint32_t slot, const char* serial) {
  if (moduleCounter == 0) json->BeginArray("device");
  json->BeginObject();
  json->Unsigned("slot", slot);
  json->Unsigned("cage", SlotToCage(static_cast<uint16_t>(slot)));
  json->String("location", SlotToLocation(static_cast<uint16_t>(slot)));
  char kept[kJsonSerialSize + 1] = {};
  size_t length = 0;
  for (uint32_t i = 0; i < kJsonSerialSize; ++i) {
    if (IsAlnumChar(static_cast<unsigned char>(serial[i]))) kept[length++] = serial[i];
  }
  json->String("serialNum", kept);
}

void EndModule(JsonWriter* json, bool unconfigured, uint32_t warranty) {
  if (unconfigured) json->Unsigned("warrantyRemaining", warranty);
  json->EndObject();  // cumulativeData
  json->EndObject();  // the module
}

}  // namespace

void WriteHealthJsonHeader(JsonWriter* json, uint32_t controller) {
  json->BeginObject();
  json->String("name", "health");
  json->String("vxVersion", kVxVersion);
  json->Unsigned("corvexiumID", controller);
}

void WriteSataSmartJson(JsonWriter* json, int8_t moduleCounter, const SataJsonRecord& r) {
  BeginModule(json, moduleCounter, r.slot, r.serial);
  json->BeginObject("currentData");
  json->Unsigned("bytesRead", r.bytesRead);
  json->Float("wearRangeDelta", r.wearRangeDelta, Style::kOneDecimal);
  json->Float("softReadErrorRate", r.softReadErrorRate,
              r.softReadErrorExponent != 0 ? Style::kExponent : Style::kTwoDecimals);
  json->Unsigned("uParix", r.uParix);
  json->QuotedUnsigned("temp", r.temp);
  json->QuotedUnsigned("uECC", r.uECC);
  json->QuotedUnsigned("sataRerr", r.sataRerr);
  json->EndObject();
  json->BeginObject("cumulativeData");
  json->Unsigned("retiredBlkCnt", r.retiredBlkCnt);
  json->Float("powerOnHours", r.powerOnHours, Style::kOneDecimal);
  json->Unsigned("powerCycleCnt", r.powerCycleCnt);
  json->Unsigned("gbErased", r.gbErased);
  json->Unsigned("reservedBlockCnt", r.reservedBlockCnt);
  json->Unsigned("programFailCnt", r.programFailCnt);
  json->Unsigned("eraseFailCnt", r.eraseFailCnt);
  json->Unsigned("unexpectedPwrLossCnt", r.unexpectedPwrLossCnt);
  json->Unsigned("ioErrCodeRate", r.ioErrCodeRate);
  json->Unsigned("uParix", r.uParix);
  json->QuotedUnsigned("maxLifetimeTemp", r.maxLifetimeTemp);
  json->Unsigned("lifeLeft", r.lifeLeft);
  json->Bool("peLimited", r.peLimited != 0);
  json->Unsigned("totalHostWrites", r.totalHostWrites);
  json->Unsigned("totalHostReads", r.totalHostReads);
  json->Float("writeAmplifier", r.writeAmplifier, Style::kTwoDecimals);
  json->Unsigned("percentResvBlocksRemaining", r.percentResvBlocksRemaining);
  json->Unsigned("trimCount", r.trimCount);
  EndModule(json, r.unconfigured, r.warranty);
}

void WriteSasSmartJson(JsonWriter* json, int8_t moduleCounter, const SasJsonRecord& r) {
  BeginModule(json, moduleCounter, r.slot, r.serial);
  json->BeginObject("currentData");
  json->Unsigned("rawReadErrRate", r.rawReadErrRate);
  json->Float("eccRate", r.eccRate, Style::kTwoDecimals);
  json->QuotedUnsigned("temp", r.temp);
  json->QuotedUnsigned("uncorrectableErrCnt", r.uncorrectableErrCnt);
  json->QuotedUnsigned("errPrimCnt", r.errPrimCnt);
  json->EndObject();
  json->BeginObject("cumulativeData");
  json->Unsigned("reallocBlkCnt", r.reallocBlkCnt);
  json->Unsigned("powerOnHours", r.powerOnHours);
  json->Unsigned("accuStartStopCycles", r.accuStartStopCycles);
  json->Unsigned("reservedBlockCnt", r.reservedBlockCnt);
  json->Unsigned("totalUncorrectedWriteErr", r.totalUncorrectedWriteErr);
  json->Unsigned("eraseFailCnt", r.eraseFailCnt);
  json->QuotedUnsigned("maxLifetimeTemp", r.maxLifetimeTemp);
  json->Unsigned("lifeLeft", r.lifeLeft);
  json->Bool("peLimited", r.peLimited != 0);
  json->Unsigned("gbErased", r.gbErased);
  json->Unsigned("totalHostWrites", r.totalHostWrites);
  json->Unsigned("totalHostReads", r.totalHostReads);
  json->Float("writeAmplifier", r.writeAmplifier, Style::kTwoDecimals);
  json->Unsigned("percentResvBlocksRemaining", r.percentResvBlocksRemaining);
  json->Unsigned("trimCount", r.trimCount);
  EndModule(json, r.unconfigured, r.warranty);
}
