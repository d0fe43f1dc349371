#include "app/power/module_power.h"

#include "app/card/modk_module.h"
#include "app/card/module_ata.h"
#include "app/card/slot_naming.h"
#include "app/shell/console.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/modules/module_handles.h"
#include "ctl/base/byte_order.h"

namespace {

// IDENTIFY DEVICE words of advanced power management.
constexpr size_t kApmSupportedWord = 83;  // bit 3
constexpr size_t kApmEnabledWord = 86;    // bit 3
constexpr size_t kApmLevelWord = 91;
constexpr uint16_t kApmBit = 0x0008;
constexpr uint16_t kApmNoThrottling = 0xFE;
constexpr uint32_t kApmLevelScale = 254;

const char kSeparator[] = "---------------------------------------------------------------------\n";

uint16_t Word(const uint8_t* identify, size_t word) { return GetLe16(identify, 2 * word); }

bool ModuleHandle(uint32_t vx, uint32_t slot, uint32_t* ssd) {
  return LibZKGetSSDHandle(vx, slot, ssd) == 0 && *ssd != kNoModuleHandle;
}

void PrintRow(uint32_t slot, const uint8_t* identify) {
  uint32_t cage = SlotToCage(static_cast<uint16_t>(slot));
  const char* location = SlotToLocation(static_cast<uint16_t>(slot));
  bool apm = (Word(identify, kApmSupportedWord) & kApmBit) != 0 && (Word(identify, kApmEnabledWord) & kApmBit) != 0;
  uint16_t level = Word(identify, kApmLevelWord);
  if (apm && level == kApmNoThrottling) {
    ConsolePrint("%-8u    %-5u    %-9s    %-12s    %-20s \n", slot, cage, location, "Yes", "Throttling Disabled");
  } else if (apm) {
    ConsolePrint("%-8u    %-5u    %-9s    %-12s   %3d \n", slot, cage, location, "Yes",
                 static_cast<int>(uint32_t{level} * 100 / kApmLevelScale));
  } else {
    ConsolePrint("%-8u    %-5u    %-9s    %-12s    %-17s \n", slot, cage, location, "No", "NA");
  }
}

}  // namespace

void PrintSsdPowerTable() {
  CardInfo info{};
  if (GetCardInfo(SelectedController - 1, &info) != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return;
  }
  uint32_t vx = info.adapterInfo.adapterHandle;
  ConsolePrint(kSeparator);
  ConsolePrint("%-5s    %-5s    %-9s    %-12s    %-17s\n", "SSD Slot", "Cage", "Location", "APM Enabled",
               "%Power Throttled");
  ConsolePrint(kSeparator);
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (!ModuleHandle(vx, slot, &ssd)) continue;
    uint8_t identify[kIdentifySize] = {};
    if (AtaIdentifyDevice(vx, ssd, identify) != 0) {
      ConsolePrint("\n%s: Unable to read device info.\n", kUtilityTitle);
      continue;
    }
    PrintRow(slot, identify);
  }
  ConsolePrint(kSeparator);
}

bool HasModkModule(uint32_t vxHandle) {
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (!ModuleHandle(vxHandle, slot, &ssd)) continue;
    uint8_t diag[diag_info::kReadSize] = {};
    if (LibZKSSDGetDiagInfo(vxHandle, ssd, diag, sizeof diag) != 0) continue;
    if (IsModkModule(diag)) return true;
  }
  return false;
}
