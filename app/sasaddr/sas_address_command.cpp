#include "app/sasaddr/sas_address_command.h"

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/card/whole_page.h"
#include "app/shell/console.h"
#include "app/shell/hex_number.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"

namespace {

constexpr uint8_t kSasAddrWords = 2;  // -sasaddr <address>

// Keeps the address without its prefix; 16 characters go on.
int StoreAddress(const char* typed, SasAddrArgs* args) {
  const char* digits = HasHexPrefix(typed) ? typed + 2 : typed;
  StrCopyN(args->address, digits, kSasAddrTextSize - 1);
  if (StrLength(args->address) == kSasAddrDigits) return kParseGoOn;
  ConsolePrint("\n%s: Invalid argument: %s.\n", kUtilityTitle, typed);
  return kParseUsageError;
}

}  // namespace

int ParseSasAddrArgs(int count, char** words, CommandContext* context) {
  auto* args = NewParams<SasAddrArgs>(context);
  if (args == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0 || words == nullptr) {
    ConsolePrint("Enter SAS Address to Program: ");
    char line[kSasAddrTextSize] = {};
    uint32_t entry = ReadInputLine(line, sizeof line);
    if (entry == kEntryEnded) return kParseTerminated;
    if (entry != kEntryValid) {
      ConsolePrint("\n%s: Invalid argument: %s.\n", kUtilityTitle, line);
      return kParseUsageError;
    }
    return StoreAddress(line, args);
  }
  if (CheckParamCount(count, kSasAddrWords) != 0) {
    ConsolePrint("Usage :\n    %s <-c controller #> -sasaddr <sas address> \n", kProgramName);
    return kParseUsageError;
  }
  return StoreAddress(words[1], args);
}

bool ReadMfgPage5(uint32_t adapter, PageCopy* page) {
  const PageId id{kPageTypeManufacturing, manufacturing_page5::kNumber};
  if (!ReadWholePage(adapter, id, kReadNvram, page).ok()) return false;
  return page->Holds(page_header::kLength, 1) &&
         page->Holds(0, 4u * Get8(page->data(), page_header::kLength));
}

int ExecSasAddr(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* args = record.As<SasAddrArgs>();
  if (args == nullptr) return 1;
  CardInfo info{};
  if (GetCardInfo(SelectedController - 1, &info) != 0) return 1;
  uint32_t vxHandle = 0;
  if (LibZKGetVXHandle(SelectedController - 1, &vxHandle) != 0) return 1;

  uint32_t low = 0;
  uint32_t high = 0;
  if (!ParseHexNumber(args->address, &low, &high)) return 1;

  PageCopy page;
  if (!ReadMfgPage5(vxHandle, &page)) return 1;
  // A PHY count the page cannot hold would run past it: the page is left
  // as it is.
  if (!page.Holds(manufacturing_page5::kPhyCount, 1)) return 1;
  const uint8_t phys = Get8(page.data(), manufacturing_page5::kPhyCount);
  if (!page.Holds(manufacturing_page5::kPhyEntries, static_cast<uint32_t>(phys) * manufacturing_page5::kPhyEntrySize)) return 1;
  for (uint32_t phy = 0; phy < phys; ++phy) {
    const size_t entry = manufacturing_page5::kPhyEntries + phy * manufacturing_page5::kPhyEntrySize;
    PutLe32(page.data(), entry + manufacturing_page5::kEntryAddressLow, low + phy);  // no carry into the high word
    PutLe32(page.data(), entry + manufacturing_page5::kEntryAddressHigh, high);
  }
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  if (WriteMfgPage(vxHandle, page.data(), &iocStatus, &iocLogInfo) == 0) return 1;

  ConsolePrint("\tResetting Adapter...\n");
  LibHandle adapter = vxHandle;
  if (QmxResetAdapter(&adapter) == kLibOk) {
    ConsolePrint("\tAdapter Successfully Reset\n\n");
  } else {
    ConsolePrint("\tAdapter Reset Failed!\n\n");
  }
  return 0;
}
