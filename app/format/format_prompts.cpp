#include "app/format/format_prompts.h"

#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"

namespace {

constexpr uint32_t kAnswerSize = 512;

}  // namespace

uint32_t ConfirmFormat() {
  ConsolePrint("%s",
               "\nWARNING: Formatting will result in loss of all data on the selected Corvexium "
               "device. Type YES if you would like to continue, or any other key to abort the "
               "request: ");
  char answer[kAnswerSize];
  uint32_t result = ReadInputLine(answer, kAnswerSize);
  if (StrEqualNoCase(answer, "YES")) return result == kEntryValid ? 0 : 1;
  ConsolePrint("\n%s: Operation aborted.\n", kUtilityTitle);
  return 1;
}

uint32_t SelectOverProvisioning(uint32_t* choice) {
  ConsolePrint("\n");
  ConsolePrint("1. Predefined  provisioning value\n");
  ConsolePrint("2. Max LBA value\n");
  ConsolePrint("3. Over provisioning percentage\n");
  ConsolePrint("\nSelect the over provisioning option [1-3 or 0:Quit]: ");
  uint32_t flag = kEntryValid;
  uint32_t option = ReadMenuNumber(0, 3, &flag);
  if (flag == kEntryEnded) {
    *choice = kOverProvisionQuit;
    return 0;
  }
  if (flag != kEntryValid) {
    *choice = option;
    return 1;
  }
  switch (option) {
    case 0:
      *choice = kOverProvisionQuit;
      return 0;
    case 2:
      *choice = kOverProvisionMaxLba;
      return 0;
    case 3:
      *choice = kOverProvisionPercentage;
      return 0;
    default:
      break;
  }
  ConsolePrint("\t1. Performance over provisioning\n");
  ConsolePrint("\t2. Nominal over provisioning\n");
  ConsolePrint("\t3. Max capacity over provisioning\n");
  ConsolePrint("\nSelect the predefined over provisioning option [1-3 or 0:Quit]: ");
  uint32_t level = ReadMenuNumber(0, 3, &flag);
  if (flag == kEntryEnded) {
    *choice = kOverProvisionQuit;
    return 0;
  }
  *choice = level;
  return flag == kEntryValid ? 0 : 1;
}
