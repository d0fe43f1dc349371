#include "app/health/board_power_status.h"

#include "app/card/config_page_layouts.h"
#include "app/card/whole_page.h"
#include "app/shell/console.h"
#include "app/health/health_run.h"
#include "app/shell/json_writer.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"

namespace {

// Manufacturing page 6, current values; a page that cannot be read (also
// for want of memory) is passed over without a word.
bool ReadMfgPage6(uint32_t vxHandle, PageCopy* page) {
  return ReadWholePage(vxHandle, {kPageTypeManufacturing, manufacturing_page6::kNumber}, kReadCurrent, page,
                       NoMemoryMessage::kQuiet)
      .ok();
}

}  // namespace

uint32_t PrintSuperCapStatus(uint32_t vxHandle, const uint8_t* page10, uint32_t size, uint32_t* overall) {
  if (page10 != nullptr && PageHolds(size, manufacturing_page10::kBoardFlags, 4) &&
      (GetLe32(page10, manufacturing_page10::kBoardFlags) & manufacturing_page10::kFlagNoSuperCap) != 0) {
    return 0;
  }
  uint32_t status = kBoardStatusGood;
  uint16_t voltage = 0;
  uint16_t hours = 0;
  uint16_t expected = 0;
  uint16_t current = 0;
  bool read = GetSuperCapVoltage(vxHandle, &voltage, &status) == 0;
  if (read) {
    ConsoleDiagnostic("SuperCap Current Voltage : %u\n", voltage);
    read = GetSuperCapHealth(vxHandle, &hours, &expected, &current, &status) == 0;
  }
  if (!read) {
    ConsoleDiagnostic("SuperCap Status          : NOT AVAILABLE\n");
    RaiseStatus(overall, kHealthError);
    return 0;
  }
  ConsoleDiagnostic("Current POH              : %u\n", hours);
  ConsoleDiagnostic("SuperCap Current Health  : %u\n", current);
  ConsoleDiagnostic("SuperCap Expected Health : %u\n", expected);
  const char* word = status == kBoardStatusGood      ? "GOOD\n"
                     : status == kBoardStatusWarning ? "WARNING\n"
                     : status == kBoardStatusError   ? "ERROR\n"
                                                     : "";
  ConsoleDiagnostic("SuperCap Status          : %s", word);
  if (status == kBoardStatusWarning) RaiseStatus(overall, kHealthWarning);
  if (status == kBoardStatusError) RaiseStatus(overall, kHealthError);
  return 0;
}

uint32_t PrintAuxPowerStatus(uint32_t vxHandle, JsonWriter* json) {
  using namespace manufacturing_page6;
  PageCopy page;
  if (!ReadMfgPage6(vxHandle, &page) || !page.Holds(kEntryCount, 1) || !page.Holds(kAuxPowerId, 1)) return 1;
  bool fitted =
      Get8(page.data(), kEntryCount) >= kAuxPowerMinEntries && Get8(page.data(), kAuxPowerId) == kAuxPowerIdValue;
  if (!fitted) return 0;
  uint32_t connected = 0;
  const char* word = GetAuxPowerStatus(vxHandle, &connected) != 0 ? "UNKNOWN"
                     : connected != 0                             ? "CONNECTED"
                                                                  : "NOT CONNECTED";
  if (json != nullptr) {
    json->String("auxilaryPower", word);
  } else {
    ConsolePrint("Auxiliary Power          : %s\n", word);
  }
  return 0;
}

uint32_t PrintBackupRailMonitor(uint32_t vxHandle, uint32_t* overall, JsonWriter* json, uint32_t* reason,
                                uint32_t* resultCode) {
  using namespace manufacturing_page6;
  PageCopy page;
  if (!ReadMfgPage6(vxHandle, &page) || !page.Holds(kEntryCount, 1) || !page.Holds(kBackupRailKind, 1)) return 1;
  bool fitted = Get8(page.data(), kEntryCount) >= kBackupRailMinEntries &&
                Get8(page.data(), kBackupRailId) == kBackupRailIdValue &&
                Get8(page.data(), kBackupRailKind) == kBackupRailKindValue;
  if (!fitted) return 0;
  if (json == nullptr) ConsolePrint("Backup Rail Monitor          : ");
  uint32_t state = 0;
  uint32_t result = 0;
  const char* word = "GOOD";
  bool failed = false;
  if (GetBackupRailStatus(vxHandle, &state) != 0) {
    word = "UNKNOWN";
    result = 1;
  } else if (state != 0) {
    word = "ERROR";
    failed = true;
    *reason = kReasonBackupRailFailure;
    RaiseStatus(overall, kHealthError);
    *resultCode = kHealthResultBackupRailFailure;
  }
  if (json != nullptr) {
    json->String("backupRailMon", word);
  } else {
    ConsolePrint("%s\n", word);
    if (failed) ConsolePrint("%s: Failure detected with Backup Rail Monitor. Please contact support.\n", kUtilityTitle);
  }
  return result;
}
