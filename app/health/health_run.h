// The state of one run of the health command: its options, thresholds,
// the verdicts of the card and its slots and what the JSON report needs.
// One run per controller; nothing survives it.
#pragma once

#include "ctl/config_pages/page_copy.h"
#include "cardlib/modules/module_handles.h"

#include <cstdint>

#include "cardlib/libzk.h"

class JsonWriter;

// The command's argument record (stored by the parse operation; the
// execute operation takes it).
struct HealthOptions {
  uint32_t raw;           // -raw: the SMART rows as raw bytes too
  uint32_t json;          // -json: a JSON document instead of the text
  uint32_t forceFromVsk;  // -fua or the answer YES: SMART values read from flash
};

// Health verdicts; a verdict only rises during a run.
enum : uint32_t {
  kHealthGood = 0,
  kHealthWarning = 1,
  kHealthError = 2,
};

// The reason codes: the last one recorded is reported with a verdict that
// is not GOOD.
enum : uint32_t {
  kReasonBackupRailFailure = 0,
  kReasonBackupRailUnreadable = 1,
  kReasonVolumeInactive = 2,
  kReasonVolumeState = 3,
  kReasonVolumeDegraded = 4,
  kReasonNoVolume = 5,
  kReasonComponentsUnreadable = 6,
  kReasonTooFewDevices = 7,
  kReasonTooManyDevices = 8,
  kReasonModuleLocked = 9,
  kReasonLifeLeft = 10,
  kReasonTemperature = 11,
};

// The command's result with -json (the last one set wins).
enum : uint32_t {
  kHealthResultOk = 0,
  kHealthResultPageUnreadable = 2,
  kHealthResultBackupRailFailure = 3,
  kHealthResultAuxPowerUnreadable = 4,
  kHealthResultBackupRailUnreadable = 5,
  kHealthResultComponents = 6,
  kHealthResultIdentity = 7,
  kHealthResultSerialNumber = 8,
};

inline constexpr uint32_t kFirstSlotNineSlotBoard = 0;
inline constexpr uint32_t kFirstSlotOtherBoards = 4;
inline constexpr uint32_t kNineSlotBoardType = 9;

struct HealthThresholds {
  uint8_t lifeLeftError = 10;
  uint8_t lifeLeftWarning = 20;
  uint16_t tempError = 80;
  uint16_t tempWarning = 70;
};

inline constexpr float kLifeLeftStart = 100.0f;
inline constexpr float kLifeLeftFloor = 10.0f;

struct HealthRun {
  const HealthOptions* options = nullptr;
  JsonWriter* json = nullptr;  // the document being written; null for the text report
  HealthThresholds thresholds;
  uint32_t slotStatus[kCardModuleSlots] = {};
  uint32_t overall = kHealthGood;
  uint32_t reason = 0;
  uint32_t resultCode = kHealthResultOk;
  float lifeLeft = kLifeLeftStart;
  uint8_t temperature = 0;
  uint8_t warranty = 0;          // set by each module evaluated; 0 while none was
  int8_t moduleCount = 0;        // module objects written to the JSON array
  uint32_t locked = 0;
  bool unconfigured = false;     // the card carries no RAID volume configuration
  uint32_t adapterIndex = 0;
  uint32_t vx = 0;
  CardInfo info = {};
  PageCopy page221;              // the modules' trim counts; holds nothing when it could not be read
};

// Raises a verdict; it never falls.
inline void RaiseStatus(uint32_t* status, uint32_t to) {
  if (*status < to) *status = to;
}
