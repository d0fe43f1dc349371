// -paniclog -f extract | erase | query: the words (or the menu), then the
// function for the protocol the card's modules speak.
#include "app/card/device_protocol.h"
#include "app/paniclog/panic_log.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

constexpr int kPanicWords = 3;  // -paniclog -f <function>

struct FunctionWord {
  const char* word;
  uint32_t function;
};
constexpr FunctionWord kFunctionWords[] = {
    {"extract", kPanicExtract},
    {"erase", kPanicErase},
    {"query", kPanicQuery},
};

int AskFunction(PanicLogOptions* options) {
  ConsolePrint("Select Function [1:Extract 2:Erase 3:Query or 0:Quit]: ");
  uint32_t flag = kEntryValid;
  uint32_t value = ReadMenuNumber(0, kPanicQuery, &flag);
  if (flag == kEntryEnded) return kParseTerminated;
  if (flag != kEntryValid) return kParseUsageError;
  if (value == 0) return kParseTerminated;
  options->function = value;
  return kParseGoOn;
}

}  // namespace

int PanicLogCommandParse(int count, char** words, CommandContext* context) {
  CardInfo info{};
  if (GetCardInfo(SelectedController - 1, &info) != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return kParseTerminated;
  }
  auto* options = NewParams<PanicLogOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0 || words == nullptr) return AskFunction(options);
  if (count != kPanicWords) {
    ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
    ConsolePrint("Usage :\n    %s <-c controller #> -paniclog -f <function code> \n"
                 "        where <function code> is : extract / erase / query\n ",
                 kProgramName);
    return kParseUsageError;
  }
  if (!StrEqualNoCase(words[1], "-f")) return kParseUsageError;
  for (const FunctionWord& f : kFunctionWords) {
    if (StrEqualNoCase(words[2], f.word)) {
      options->function = f.function;
      return kParseGoOn;
    }
  }
  return kParseUsageError;
}

int PanicLogCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* options = record.As<PanicLogOptions>();
  if (options == nullptr) return 1;
  uint32_t vxHandle = 0;
  if (LibZKGetVXHandle(SelectedController - 1, &vxHandle) != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return 1;
  }
  uint32_t protocol = 0;
  if (CheckMixedProtocol(vxHandle, &protocol) != 0) return 1;
  const bool sata = protocol == kProtocolSata;
  if (!sata && protocol != kProtocolSas) {
    ConsolePrint("Unknown Drive found: Protocol Type %d\n", static_cast<int>(protocol));
    return 1;
  }
  uint32_t result = 1;
  switch (options->function) {
    case kPanicExtract: result = sata ? ExtractSataPanics(vxHandle) : ExtractSasPanics(vxHandle); break;
    case kPanicErase: result = sata ? EraseSataPanics(vxHandle) : EraseSasPanics(vxHandle); break;
    case kPanicQuery: result = sata ? QuerySataPanics(vxHandle) : QuerySasPanics(vxHandle); break;
    default: break;
  }
  return result == 0 ? 0 : 1;
}
