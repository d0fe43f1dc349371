// -power: the PCIe slot power the card is programmed to draw, each module's
// advanced power management, and (with -set, or at the prompt) a new slot
// power value, which takes effect after the controller's reset.
#include <cstdint>
#include <cstring>

#include "app/card/adapter_reset.h"
#include "app/card/config_page_wrappers.h"
#include "app/card/device_protocol.h"
#include "app/card/page_readers.h"
#include "app/power/module_power.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "cardlib/modules/module_handles.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/pages/manufacturing_pages.h"

namespace {

// The command's argument record.
struct PowerOptions {
  uint16_t value;        // the new slot power, in watts
  uint32_t interactive;  // 1 in menu mode
  uint32_t set;          // 1 when the value is to be written
};

constexpr uint32_t kMaxSlotPower = 60;  // watts
constexpr uint32_t kAnswerSize = 80;
constexpr uint32_t kShowWords = 1;  // -power
constexpr uint32_t kSetWords = 3;   // -power -set <value>

bool ReadAdapterInfo(AdapterInfoBlock* info) {
  uint32_t size = sizeof *info;
  if (QmxGetAdapterInfo(SelectedController - 1, nullptr, info, &size) != kLibOk) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return false;
  }
  return true;
}

// Manufacturing page 10 with both slot power bytes inside what was read.
bool ReadPowerPage(uint32_t vx, PageCopy* page) {
  return ReadMfgPage10(vx, page) == 0 && page->size() > manufacturing_page10::kSlotPower;
}

// A whole decimal number of at most ten digits, nothing after it.
bool ParseWatts(const char* word, uint32_t* value) {
  uint64_t number = 0;
  size_t digits = 0;
  for (; word[digits] != '\0'; ++digits) {
    if (digits == 10 || word[digits] < '0' || word[digits] > '9') return false;
    number = number * 10 + static_cast<uint64_t>(word[digits] - '0');
  }
  if (digits == 0 || number > UINT32_MAX) return false;
  *value = static_cast<uint32_t>(number);
  return true;
}

int InvalidArgument(const char* word) {
  ConsolePrint("\n%s: Invalid argument: %s.\n", kUtilityTitle, word);
  return kParseUsageError;
}

// -set <value>: the value must exceed the page's floor and stay within 60 W.
int ParseSetValue(const char* word, PowerOptions* options) {
  AdapterInfoBlock info{};
  if (!ReadAdapterInfo(&info)) return kParseTerminated;
  PageCopy page;
  if (!ReadPowerPage(info.adapterHandle, &page)) return kParseTerminated;
  uint32_t value = 0;
  if (!ParseWatts(word, &value) || value <= Get8(page.data(), manufacturing_page10::kSlotPowerFloor) ||
      value > kMaxSlotPower) {
    return InvalidArgument(word);
  }
  options->value = static_cast<uint16_t>(value);
  options->set = 1;
  return kParseGoOn;
}

// At the prompt: "yes" leads to the value; any other answer ends the command.
// False when the value entered is not valid.
bool AskNewValue(const PageCopy& page, PowerOptions* options) {
  ConsolePrint("\nWould you like to change the power value (yes/no): ");
  char answer[kAnswerSize] = {};
  if (ReadInputLine(answer, sizeof answer) != kEntryValid || !StrEqualNoCase(answer, "YES")) return true;
  uint32_t floor = Get8(page.data(), manufacturing_page10::kSlotPowerFloor);
  ConsolePrint("\nEnter new total available PCIe slot power value[%d-%d]:", static_cast<int>(floor + 1),
               static_cast<int>(kMaxSlotPower));
  uint32_t flag = kEntryValid;
  uint32_t value = ReadMenuNumber(floor + 1, kMaxSlotPower, &flag);
  if (flag != kEntryValid) return false;
  options->value = static_cast<uint16_t>(value);
  options->set = 1;
  return true;
}

// True when the card's modules take the command; false after the message
// that ends it, with *result the command's result.
bool ModulesTakePower(uint32_t vx, int* result) {
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    if (LibZKGetSSDHandle(vx, slot, &ssd) != 0 || ssd == kNoModuleHandle) continue;
    uint32_t protocol = 0;
    if (GetDeviceProtocol(slot, &protocol) != 0) {
      *result = 1;
      return false;
    }
    if (protocol == kProtocolSas) {
      ConsolePrint("%s:\n Power command is not supported for selected drive\n", kUtilityTitle);
      *result = 0;
      return false;
    }
  }
  if (HasModkModule(vx)) {
    // The module's firmware refuses the setting: the command did not do
    // what it was asked, so it fails.
    ConsolePrint("\n%s: This option is not supported for Corvexium Component.\n", kUtilityTitle);
    *result = 1;
    return false;
  }
  return true;
}

int RunPower(PowerOptions* options) {
  AdapterInfoBlock info{};
  if (!ReadAdapterInfo(&info)) return 1;
  uint32_t vx = info.adapterHandle;
  int result = 0;
  if (!ModulesTakePower(vx, &result)) return result;

  PageCopy page;
  if (!ReadPowerPage(vx, &page)) {
    ConsolePrint("\n%s: Power value read failed.\n", kUtilityTitle);
    return 1;
  }
  ConsolePrint("\nProgrammed available PCIe slot power: %d W \n\n",
               static_cast<int>(Get8(page.data(), manufacturing_page10::kSlotPower)));
  PrintSsdPowerTable();
  if (options->interactive != 0 && !AskNewValue(page, options)) return 1;
  if (options->set == 0) return 0;

  Put8(page.data(), manufacturing_page10::kSlotPower, static_cast<uint8_t>(options->value));
  uint16_t iocStatus = 0;
  uint32_t logInfo = 0;
  if (!WriteMfgPage(vx, page.data(), &iocStatus, &logInfo)) {
    ConsolePrint("\t New power value write failed.\n\n");
    return 1;
  }
  ConsolePrint("\n%s: New power value written successfully.\n", kUtilityTitle);
  ConsolePrint("\n%s: Resetting adapter...\n", kUtilityTitle);
  AdapterResetResult reset = ResetAndRebuildAdapter(vx);
  if (reset.reset != kLibOk) {
    ConsolePrint("\n%s: Reset failed.\n", kUtilityTitle);
    return 1;
  }
  ConsolePrint("\n%s: Adapter reset successful.\n", kUtilityTitle);
  return 0;
}

}  // namespace

int PowerCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<PowerOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  options->set = 0;
  if (count == 0 || words == nullptr) {
    options->interactive = 1;
    return kParseGoOn;
  }
  options->interactive = 0;
  if (count == static_cast<int>(kShowWords)) return kParseGoOn;
  if (count == static_cast<int>(kSetWords)) {
    if (!StrEqualNoCase(words[1], "-set")) return InvalidArgument(words[1]);
    return ParseSetValue(words[2], options);
  }
  ConsolePrint("Usage :\n    %s <-c controller #> -power \n", kProgramName);
  ConsolePrint("    %s <-c controller #> -power -set <power value> \n", kProgramName);
  return kParseUsageError;
}

int PowerCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* options = record.As<PowerOptions>();
  if (options == nullptr) return 1;
  int result = RunPower(options);
  return result;
}
