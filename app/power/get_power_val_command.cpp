// -getPowerVal: the card's present power draw as its sensors measure it, the
// 3.3 V rail, the 12 V rail and the total. Only board type 11 carries the
// sensors; on any other valid board the command says so and succeeds.
#include <cstdint>

#include "app/card/board_type.h"
#include "app/card/config_page_layouts.h"
#include "app/card/page_readers.h"
#include "app/health/single_precision.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint32_t kPowerSensorBoardType = 11;

// Milliwatts as watts: the reading in single precision divided by 1000.
float Watts(uint32_t milliwatts) {
  return SinglePrecision(SinglePrecision(static_cast<float>(milliwatts)) / 1000.0f);
}

}  // namespace

int GetPowerValCommandParse(int count, char** words, CommandContext*) {
  if (count == 0 || words == nullptr || count == 1) return kParseGoOn;
  ConsolePrint("Usage :\n    %s <-c controller #> -getPowerVal \n", kProgramName);
  return kParseUsageError;
}

int GetPowerValCommandExec(CommandContext* context) {
  CardInfo info{};
  uint32_t status = GetCardInfo(SelectedController - 1, &info);
  if (status != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return static_cast<int>(status);
  }
  uint32_t boardType = GetBoardType(info.adapterIndex);
  if (boardType == kBoardTypeInvalid) {
    ConsolePrint("\n\n Invalid Board Type \n\n");
    return 1;
  }
  if (boardType != kPowerSensorBoardType) {
    ConsolePrint("%s:\n This command is not supported for selected card.\n", kUtilityTitle);
    return 0;
  }

  PageCopy page;
  // Every reading must lie inside what the controller returned.
  if (ReadExtPage222(info.adapterInfo.adapterHandle, &page) != 0 ||
      !PageHolds(page.size(), ext_page222::kTotalPower, 4)) {
    ConsolePrint("%s: Unable to retrieve power attributes \n", kUtilityTitle);
    return 1;
  }
  ConsolePrint("  Power from 3.3V power sensor: %.2f W\n", Watts(GetLe32(page.data(), ext_page222::kPower3v3)));
  ConsolePrint("  Power from 12V power sensor : %.2f W\n", Watts(GetLe32(page.data(), ext_page222::kPower12v)));
  ConsolePrint("  Total power consumption     : %.2f W\n", Watts(GetLe32(page.data(), ext_page222::kTotalPower)));
  return 0;
}
