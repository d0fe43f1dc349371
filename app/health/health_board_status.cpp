// The board's part of the health report.
#include "app/health/board_power_status.h"
#include "app/card/board_type.h"
#include "app/card/config_page_layouts.h"
#include "app/shell/console.h"
#include "app/health/health_steps.h"
#include "app/shell/memory_strings.h"
#include "app/card/page_readers.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"

namespace {

void PrintNotInProperState(HealthRun* run) {
  if (run->json == nullptr) {
    ConsolePrint("%s: Corvexium is not in a proper state.\n", kUtilityTitle);
  } else {
    run->resultCode = kHealthResultPageUnreadable;
  }
}

// Where IO unit page 8 keeps the board type's temperature thresholds;
// false for the board types that keep the defaults.
bool TemperatureFields(uint32_t boardType, size_t* warning, size_t* error) {
  switch (boardType) {
    case 1: case 2: case 6: case 9:
      *warning = io_unit_page8::kTempWarningLow;
      *error = io_unit_page8::kTempErrorLow;
      return true;
    case 3: case 7: case 8: case 10: case 11: case 12:
      *warning = io_unit_page8::kTempWarningHigh;
      *error = io_unit_page8::kTempErrorHigh;
      return true;
    default:
      return false;
  }
}

void ReadLifeThresholds(HealthRun* run) {
  PageCopy page;
  if (ReadMfgPage10(run->vx, &page) == 0 && page.Holds(manufacturing_page10::kLifeLeftError, 1) &&
      page.Holds(manufacturing_page10::kLifeLeftWarning, 1)) {
    run->thresholds.lifeLeftError = Get8(page.data(), manufacturing_page10::kLifeLeftError);
    run->thresholds.lifeLeftWarning = Get8(page.data(), manufacturing_page10::kLifeLeftWarning);
    PrintSuperCapStatus(run->vx, page.data(), page.size(), &run->overall);
  } else {
    PrintNotInProperState(run);
  }
}

// false when the board type cannot be determined.
bool ReadTemperatureThresholds(HealthRun* run) {
  PageCopy page;
  if (ReadIoUnitPage8(run->vx, &page) != 0) {
    PrintNotInProperState(run);
    return true;
  }
  uint32_t boardType = GetBoardType(run->adapterIndex);
  if (boardType == kBoardTypeInvalid) {
    ConsoleDiagnostic("\n\n Invalid Board Type \n\n");
    return false;
  }
  size_t warning = 0;
  size_t error = 0;
  if (TemperatureFields(boardType, &warning, &error)) {
    if (page.Holds(warning, 2) && page.Holds(error, 2)) {
      run->thresholds.tempError = GetLe16(page.data(), error);
      run->thresholds.tempWarning = GetLe16(page.data(), warning);
    } else {
      PrintNotInProperState(run);
    }
  }
  return true;
}

}  // namespace

uint32_t GetBoardHealthStatus(HealthRun* run) {
  bool text = run->json == nullptr;
  ReadLifeThresholds(run);
  if (!ReadTemperatureThresholds(run)) return 1;
  if (PrintAuxPowerStatus(run->vx, run->json) != 0) {
    if (text) {
      ConsolePrint("ERROR: Failed to get AuxPowerStatus.\n");
    } else {
      run->resultCode = kHealthResultAuxPowerUnreadable;
    }
  }
  if (PrintBackupRailMonitor(run->vx, &run->overall, run->json, &run->reason, &run->resultCode) != 0) {
    if (text) {
      ConsolePrint("ERROR: Failed to get BRMStatus.\n");
    } else {
      run->resultCode = kHealthResultBackupRailUnreadable;
      run->reason = kReasonBackupRailUnreadable;
    }
    RaiseStatus(&run->overall, kHealthError);
  }
  if (CheckComponents(run) != 0) {
    if (text) {
      ConsolePrint("ERROR: Failed to get VolumeStatus.\n");
    } else {
      run->resultCode = kHealthResultComponents;
      run->reason = kReasonComponentsUnreadable;
    }
    RaiseStatus(&run->overall, kHealthError);
  }
  return 0;
}
