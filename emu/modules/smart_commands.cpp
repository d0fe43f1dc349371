// SMART (0xB0): the subcommand in the features, the signature 0x4F/0xC2 in
// LBA mid and high (anything else is aborted). READ DATA answers the
// module's attribute table (a forced read, device bit 7, reads the same
// values "from flash" and is counted apart), READ THRESHOLDS the threshold
// of each, READ LOG and WRITE LOG the logs (address in LBA low, sectors in
// the count, from page 0), RETURN STATUS whether a prefailure attribute is
// at its threshold; ENABLE, DISABLE and autosave are taken. A module armed
// with smart-fails aborts READ DATA and READ THRESHOLDS.
#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

namespace s = ata::smart;

constexpr uint16_t kPrefailure = 0x0001;

void Checksum(std::vector<uint8_t>* sector) {
  uint8_t sum = 0;
  for (size_t i = 0; i + 1 < sector->size(); ++i) sum = static_cast<uint8_t>(sum + (*sector)[i]);
  (*sector)[s::kChecksum] = static_cast<uint8_t>(-sum);
}

std::vector<uint8_t> SmartData(const ModuleModel& m) {
  std::vector<uint8_t> data(ata::kSectorBytes, 0);
  le::Put16(&data, s::kRevision, s::kDataRevision);
  for (size_t i = 0; i < m.smart.size() && i < kSmartAttributeSlots; ++i) {
    const SmartAttribute& a = m.smart[i];
    size_t at = s::kEntries + i * s::kEntryBytes;
    le::Put8(&data, at + s::kEntryId, a.id);
    le::Put16(&data, at + s::kEntryFlags, a.flags);
    le::Put8(&data, at + s::kEntryNormalized, a.normalized);
    le::Put8(&data, at + s::kEntryWorst, a.worst);
    for (uint32_t b = 0; b < s::kEntryRawBytes; ++b) {
      le::Put8(&data, at + s::kEntryRaw + b, static_cast<uint8_t>(a.raw >> (8 * b)));
    }
  }
  le::Put8(&data, s::kOfflineStatus, 0x82);       // offline collection completed, automatic on
  le::Put8(&data, s::kSelfTestStatus, 0x00);      // the last self-test passed
  le::Put16(&data, s::kOfflineSeconds, 30);
  le::Put8(&data, s::kOfflineCapability, 0x5B);
  le::Put16(&data, s::kSmartCapability, 0x0003);  // saved over power cycles, autosave
  le::Put8(&data, s::kErrorLogging, 0x01);
  le::Put8(&data, s::kShortTestMinutes, 2);
  le::Put8(&data, s::kExtendedTestMinutes, 10);
  Checksum(&data);
  return data;
}

std::vector<uint8_t> SmartThresholds(const ModuleModel& m) {
  std::vector<uint8_t> data(ata::kSectorBytes, 0);
  le::Put16(&data, s::kRevision, s::kDataRevision);
  for (size_t i = 0; i < m.smart.size() && i < kSmartAttributeSlots; ++i) {
    size_t at = s::kEntries + i * s::kEntryBytes;
    le::Put8(&data, at + s::kEntryId, m.smart[i].id);
    le::Put8(&data, at + s::kEntryThreshold, m.smart[i].threshold);
  }
  Checksum(&data);
  return data;
}

bool ThresholdExceeded(const ModuleModel& m) {
  for (const SmartAttribute& a : m.smart) {
    if ((a.flags & kPrefailure) != 0 && a.threshold != 0 && a.normalized <= a.threshold) return true;
  }
  return false;
}

}  // namespace

DataPhase SmartDataPhase(const AtaFis& fis) {
  switch (static_cast<uint8_t>(fis.features)) {
    case s::kReadData:
    case s::kReadThresholds:
    case s::kReadLog: return DataPhase::kIn;
    case s::kWriteLog: return DataPhase::kOut;
    default: return DataPhase::kNone;
  }
}

AtaAnswer Smart(AtaContext& c) {
  const AtaFis& fis = c.fis;
  if (fis.Byte(1) != s::kSignatureMid || fis.Byte(2) != s::kSignatureHigh) return Aborted();
  uint8_t address = fis.Byte(0);
  uint32_t count = fis.count & 0xFF;
  switch (static_cast<uint8_t>(fis.features)) {
    case s::kReadData:
      if (c.module.smartFails) return Aborted();
      ++c.runtime.smartReads;
      if ((fis.device & ata::fis::kDeviceForced) != 0) ++c.runtime.forcedSmartReads;
      return DataIn(SmartData(c.module));
    case s::kReadThresholds:
      if (c.module.smartFails) return Aborted();
      return DataIn(SmartThresholds(c.module));
    case s::kReadLog: return ReadLog(c, address, 0, count, false);
    case s::kWriteLog: return WriteLog(c, address, 0, count, false);
    case s::kReturnStatus: {
      AtaAnswer answer;
      bool exceeded = ThresholdExceeded(c.module);
      answer.hasLba = true;
      answer.lba = static_cast<uint64_t>(exceeded ? s::kExceededMid : s::kSignatureMid) << 8 |
                   static_cast<uint64_t>(exceeded ? s::kExceededHigh : s::kSignatureHigh) << 16;
      return answer;
    }
    case s::kAutosave:
    case s::kEnable:
    case s::kDisable: return Done();
    default: return Aborted();
  }
}

AtaAnswer ReadLogExt(AtaContext& c) {
  uint32_t page = c.fis.Byte(1) | static_cast<uint32_t>(c.fis.Byte(4)) << 8;
  return ReadLog(c, c.fis.Byte(0), page, c.fis.count, true);
}

AtaAnswer WriteLogExt(AtaContext& c) {
  uint32_t page = c.fis.Byte(1) | static_cast<uint32_t>(c.fis.Byte(4)) << 8;
  return WriteLog(c, c.fis.Byte(0), page, c.fis.count, true);
}

}  // namespace emu
