// -showvpd: the card's Vital Product Data as manufacturing page 1 holds it.
#include "app/card/vpd_page.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "app/vpd/vpd_page_bytes.h"
#include "app/vpd/vpd_print.h"
#include "cardlib/libzk.h"

int ShowVpdCommandParse(int count, char** words, CommandContext*) {
  if (words == nullptr) count = 0;
  if (CheckParamCount(count, 1) != 0) {
    ConsolePrint("Usage :\n    %s <-c controller #> -showvpd \n", kProgramName);
    return kParseUsageError;
  }
  return kParseGoOn;
}

int ShowVpdCommandExec(CommandContext*) {
  CardInfo info{};
  // A card whose information cannot be read has no adapter handle; the page
  // read then fails and says so.
  GetCardInfo(SelectedController - 1, &info);
  AppBuffer page;
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  if (ReadMfgPage(info.adapterInfo.adapterHandle, &page, &iocStatus, &iocLogInfo) == 0) {
    ConsolePrint("\n%s: VPD Read Failed\n", kUtilityTitle);
    return 1;
  }
  PrintVpdInfo(page.get(), VpdPageBytes(page.get(), page.size()));
  return 0;
}
