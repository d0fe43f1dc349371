// The pages that tell the board's power protection and health thresholds,
// made from the adapter's settings: the GPIO levels (IO unit page 3; the
// backup rail monitor on GPIO 24, 0 for a good rail, the auxiliary power
// input on 25, 1 when connected), the temperature thresholds (IO unit page
// 8, in both places a board type may read them) and the GPIO functions that
// say both inputs are fitted (manufacturing page 6, its entry count the
// GPIO count).
#include "emu/pages/default_pages.h"
#include "emu/host/le_bytes.h"
#include "emu/pages/page_builder.h"
#include "emu/pages/page_layouts.h"

namespace emu {

using namespace pages;

std::vector<uint8_t> IoUnitPage3(const AdapterModel& a) {
  namespace p = io_unit3;
  std::vector<uint8_t> page = NewPage(kPageIoUnit, 3, p::kVersion, p::Bytes(a.gpioCount));
  le::Put8(&page, p::kGpioCount, a.gpioCount);
  auto level = [&](uint32_t gpio, uint8_t value) {
    if (gpio < a.gpioCount) le::Put16(&page, p::kGpios + p::kGpioBytes * gpio, value & p::kLevel);
  };
  level(p::kBackupRailGpio, a.gpioBackupRail);
  level(p::kAuxPowerGpio, a.gpioAuxPower);
  return page;
}

std::vector<uint8_t> IoUnitPage8(const AdapterModel& a) {
  namespace p = io_unit8;
  std::vector<uint8_t> page = NewPage(kPageIoUnit, 8, p::kVersion, p::kBytes);
  le::Put8(&page, p::kSensors, 2);
  le::Put16(&page, p::kWarningSmall, a.temperatureWarning);
  le::Put16(&page, p::kErrorSmall, a.temperatureError);
  le::Put16(&page, p::kWarningLarge, a.temperatureWarning);
  le::Put16(&page, p::kErrorLarge, a.temperatureError);
  return page;
}

std::vector<uint8_t> ManufacturingPage6(const AdapterModel& a) {
  namespace p = mfg6;
  std::vector<uint8_t> page = NewPage(kPageManufacturing, 6, p::kVersion, p::Bytes(a.gpioCount));
  le::Put8(&page, p::kEntryCount, a.gpioCount);
  uint32_t rail = p::kEntries + p::kEntryBytes * io_unit3::kBackupRailGpio;
  uint32_t aux = p::kEntries + p::kEntryBytes * io_unit3::kAuxPowerGpio;
  le::Put8(&page, rail + p::kFunction, p::kBackupRailFunction);
  le::Put8(&page, rail + p::kMarker, p::kBackupRailMarker);
  le::Put8(&page, aux + p::kFunction, p::kAuxPowerFunction);
  return page;
}

}  // namespace emu
