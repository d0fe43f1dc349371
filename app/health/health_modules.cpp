// The modules of the health report: one slot's module read, judged and
// reported, and the slot's verdict.
#include "app/card/config_page_layouts.h"
#include "app/shell/console.h"
#include "app/card/device_protocol.h"
#include "app/health/health_evaluation.h"
#include "app/health/health_json.h"
#include "app/health/health_steps.h"
#include "app/shell/json_writer.h"
#include "app/shell/memory_strings.h"
#include "app/card/module_ata.h"
#include "app/card/module_scsi.h"
#include "app/health/single_precision.h"
#include "app/card/slot_naming.h"
#include "app/health/smart_attributes.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "cardlib/layouts/smart_data.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr size_t kSmartVersionLow = 0;
constexpr size_t kSmartVersionHigh = 1;

// INQUIRY: the module's serial number, and the flag that spares the lock
// test.
constexpr size_t kInquirySerial = 36;
constexpr size_t kInquiryFlags = 57;
constexpr uint8_t kInquiryNoLockTest = 0x01;
static_assert(kInquirySerial + kJsonSerialSize <= kInquirySize && kInquiryFlags < kInquirySize);
// IDENTIFY DEVICE word 128: security status.
constexpr size_t kIdentifySecurity = 2 * 128;
constexpr uint16_t kSecurityLocked = 0x0004;

enum : uint8_t {
  kAttrTemperature = 194,
  kAttrLifeLeft = 231,
  kSasAttrTemperature = 9,
  kSasAttrLifeLeft = 13,
};

// Bits 16-31 of the life attribute's raw low word: the digits after the point.
constexpr uint32_t kLifeDigitsShift = 16;

bool IsText(const HealthRun* run) { return run->json == nullptr; }

// The trim count the page holds for the slot; false when there is none.
bool TrimCount(const HealthRun* run, uint32_t slot, uint64_t* count) {
  size_t offset = ext_page221::kTrimCounts + ext_page221::kTrimCountSize * slot;
  if (!run->page221.Holds(offset, ext_page221::kTrimCountSize)) return false;
  *count = GetLe64(run->page221.data(), offset);
  return true;
}

void PrintTrimCount(const HealthRun* run, uint32_t slot, uint64_t* count) {
  if (TrimCount(run, slot, count) && IsText(run)) {
    ConsolePrint("Trim Count                            %llu \n", static_cast<unsigned long long>(*count));
  }
}

// "SSD Drive SMART Data Slot #" and the 20 serial characters; a character
// that does not print shows as a blank.
void PrintSerialLine(uint32_t slot, const uint8_t* serial) {
  char text[kJsonSerialSize + 1];
  PrintableText(text, serial, kJsonSerialSize);
  ConsolePrint("\n\nSSD Drive SMART Data Slot #: %u: Drive Serial Number %s\n", slot, text);
}

void PrintModuleWarranty(const HealthRun* run, uint32_t warranty) {
  if (run->unconfigured) ConsolePrint("Warranty Remaining                    %-10u (%%)\n\n", warranty);
}

// Life left and warranty after a module's attributes were judged.
uint32_t SettleLifeLeft(HealthRun* run) {
  if (run->lifeLeft < kLifeLeftFloor) run->lifeLeft = kLifeLeftFloor;
  run->warranty = WarrantyRemaining(run->lifeLeft);
  return run->warranty;
}

void EvaluateSataValues(HealthRun* run, uint32_t slot, const SataSmartValues& values) {
  for (uint32_t i = 0; i < kSmartAttributeCount; ++i) {
    uint8_t id = values.attribute[i].id;
    uint8_t normalized = values.attribute[i].normalized;
    if (id == kAttrLifeLeft) {
      auto digits = static_cast<uint16_t>(values.raw[i].low >> kLifeDigitsShift);
      float value = SinglePrecision(static_cast<float>(normalized) + LifeLeftFraction(digits));
      EvaluateLifeLeft(run, slot, normalized, value);
    } else if (id == kAttrTemperature) {
      EvaluateTemperature(run, slot, normalized);
    }
  }
}

// IDENTIFY DEVICE of a module whose INQUIRY does not spare it: true when
// its security is locked.
bool LockTest(HealthRun* run, uint32_t ssd, const uint8_t* inquiry) {
  if ((inquiry[kInquiryFlags] & kInquiryNoLockTest) != 0) return false;
  uint8_t identify[kIdentifySize] = {};
  if (AtaIdentifyDevice(run->vx, ssd, identify) != 0) {
    run->resultCode = kHealthResultIdentity;
    return false;
  }
  return (GetLe16(identify, kIdentifySecurity) & kSecurityLocked) != 0;
}

// A module whose health data could not be read is reported from cleared
// data, takes no part in life left and temperature, and is not taken for
// healthy: the report names it, the JSON result is the module-read failure
// and its slot is at least WARNING.
void HealthNotRead(HealthRun* run, uint32_t slot) {
  if (IsText(run)) ConsolePrint("ERROR: Failed to get SMART Data at SSD slot number %u\n", slot);
  run->resultCode = kHealthResultIdentity;
  RaiseStatus(&run->slotStatus[slot], kHealthWarning);
}

void CheckSataModule(HealthRun* run, uint32_t slot, uint32_t ssd) {
  bool text = IsText(run);
  SataSmartValues values;
  MemSet(&values, 0, sizeof values);
  uint8_t smart[smart_data::kSize] = {};
  uint8_t inquiry[kInquirySize] = {};
  SataJsonRecord record;
  MemSet(&record, 0, sizeof record);
  uint32_t warranty = 0;
  bool read = ReadSmartData(run->vx, ssd, &values, smart, run->options->forceFromVsk) == 0;
  if (!read) HealthNotRead(run, slot);
  if (read) {
    EvaluateSataValues(run, slot, values);
    warranty = SettleLifeLeft(run);
    if (ScsiInquiry(ssd, inquiry) != 0) {
      MemSet(inquiry, 0, sizeof inquiry);
      if (text) {
        ConsolePrint("ERROR: Failed to get Identify Device Info\n");
      } else {
        run->resultCode = kHealthResultIdentity;
      }
    } else if (text) {
      PrintSerialLine(slot, inquiry + kInquirySerial);
      if (LockTest(run, ssd, inquiry)) {
        run->locked = 1;
        ConsolePrint("\nLocked VSK found at SSD slot number %u\n", slot);
      }
    }
  }
  PrintSataSmart(text ? 0 : 1, values, &record);
  uint64_t trim = 0;
  PrintTrimCount(run, slot, &trim);
  if (!text) {
    record.slot = slot;
    record.unconfigured = run->unconfigured;
    record.warranty = warranty;
    record.trimCount = trim;
    MemCopy(record.serial, inquiry + kInquirySerial, kJsonSerialSize);
    record.locked = LockTest(run, ssd, inquiry) ? 1 : 0;
    if (record.locked != 0) run->locked = 1;
    WriteSataSmartJson(run->json, run->moduleCount, record);
    ++run->moduleCount;
    return;
  }
  if (run->options->raw != 0) {
    ConsolePrint("\nSMART structure version: %02x%02x\n", smart[kSmartVersionHigh], smart[kSmartVersionLow]);
    PrintSmartEntriesRaw(smart + smart_data::kAttributes);
  }
  PrintModuleWarranty(run, warranty);
}

void CheckSasModule(HealthRun* run, uint32_t slot, uint32_t ssd) {
  bool text = IsText(run);
  SasSmartRecord values;
  MemSet(&values, 0, sizeof values);
  // What the pages before a failing one gave is no whole report: the
  // module is reported from a cleared record.
  uint32_t warranty = 0;
  if (CollectSSDHealthData(ssd, &values) != 0) {
    MemSet(&values, 0, sizeof values);
    HealthNotRead(run, slot);
  } else {
    for (const SasSmartEntry& entry : values.entry) {
      if (entry.attribute == kSasAttrLifeLeft) {
        EvaluateLifeLeft(run, slot, entry.value, SinglePrecision(static_cast<float>(entry.value)));
      } else if (entry.attribute == kSasAttrTemperature) {
        EvaluateTemperature(run, slot, entry.value);
      }
    }
    warranty = SettleLifeLeft(run);
  }
  uint8_t serial[kSerialNumberSize] = {};
  if (ScsiSerialNumber(ssd, serial) != 0) {
    MemSet(serial, 0, sizeof serial);
    if (text) {
      ConsolePrint("ERROR: Failed to get Device Serial Number\n");
    } else {
      run->resultCode = kHealthResultSerialNumber;
    }
  } else if (text) {
    PrintSerialLine(slot, serial);
  }
  SasJsonRecord record;
  MemSet(&record, 0, sizeof record);
  PrintSasSmart(text ? 0 : 1, values, &record);
  uint64_t trim = 0;
  PrintTrimCount(run, slot, &trim);
  if (!text) {
    record.slot = slot;
    record.unconfigured = run->unconfigured;
    record.warranty = warranty;
    record.trimCount = trim;
    MemCopy(record.serial, serial, kJsonSerialSize);
    WriteSasSmartJson(run->json, run->moduleCount, record);
    ++run->moduleCount;
    return;
  }
  if (run->options->raw != 0) DumpSasHealthLogPages(ssd);
  PrintModuleWarranty(run, warranty);
}

void SlotVerdict(HealthRun* run, uint32_t slot) {
  uint32_t status = run->slotStatus[slot];
  if (status == kHealthGood) return;
  RaiseStatus(&run->overall, status);
  if (!IsText(run)) return;
  auto s = static_cast<uint16_t>(slot);
  if (status == kHealthWarning) {
    ConsolePrint("%s: Component at \"Cage = %u, Location = %s\" is in WARNING state.\n", kUtilityTitle, SlotToCage(s),
                 SlotToLocation(s));
  } else {
    ConsolePrint("%s: Component at \"Cage = %u, Location = %s\" is in FAILED state.\n", kUtilityTitle, SlotToCage(s),
                 SlotToLocation(s));
  }
}

}  // namespace

void CheckModuleSlot(HealthRun* run, uint32_t slot) {
  if (slot >= kCardModuleSlots) return;
  uint32_t ssd = kNoModuleHandle;
  uint32_t protocol = 0;
  if (LibZKGetSSDHandle(run->vx, slot, &ssd) == 0 && GetDeviceProtocol(slot, &protocol) == 0) {
    if (protocol == kProtocolSas) {
      CheckSasModule(run, slot, ssd);
    } else {
      CheckSataModule(run, slot, ssd);
    }
  }
  SlotVerdict(run, slot);
}
