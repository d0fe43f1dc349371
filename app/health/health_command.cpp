// -health: the verdict on one card and its modules, as text or JSON.
#include "app/shell/banner_usage.h"
#include "app/card/board_type.h"
#include "app/card/card_state.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/health/health_json.h"
#include "app/health/health_run.h"
#include "app/health/health_steps.h"
#include "app/shell/json_writer.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/card/page_readers.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

constexpr uint32_t kAnswerSize = 512;
constexpr char kRule[] = "--------------------------------\n";

int PrintHealthUsage() {
  PrintBanner();
  ConsolePrint("Usage :\n    %s <-c controller #> -health [-json | -raw ] [-fua]\n", kProgramName);
  return kParseUsageError;
}

// The menu's question: whether the SMART values are read from flash.
int AskForceFromVsk(HealthOptions* options) {
  ConsolePrint("\nRead SMART attributes forcibly from VSK? (Yes/No): ");
  char answer[kAnswerSize];
  uint32_t entry = ReadInputLine(answer, sizeof answer);
  if (entry == kEntryEnded) return kParseTerminated;
  if (entry != kEntryValid) return kParseUsageError;
  if (StrEqualNoCase(answer, "YES")) options->forceFromVsk = 1;
  return kParseGoOn;
}

void ChooseJson(HealthOptions* options) {
  options->json = 1;
  SuppressStatus = 1;
}

void PrintTextHeader(const CardInfo& info) {
  ConsolePrint("%s", kRule);
  // The names fill their 16 bytes without a terminator when they are long.
  char chip[sizeof info.chipName + 1];
  char board[sizeof info.boardName + 1];
  PrintableString(chip, info.chipName, sizeof info.chipName);
  PrintableString(board, info.boardName, sizeof info.boardName);
  ConsolePrint("%s %s Health\n", chip, board);
  ConsolePrint("%s\n", kRule);
}

int RunHealth(const HealthOptions& options) {
  bool text = options.json == 0;
  HealthRun run;
  JsonWriter document;
  run.options = &options;
  run.json = text ? nullptr : &document;
  run.adapterIndex = SelectedController - 1;

  if (CheckCardState(&run.unconfigured) != 0) return 1;
  if (text && run.unconfigured) ConsolePrint("Raid Volume status = unconfigured.\n");
  if (GetCardInfo(run.adapterIndex, &run.info) != 0) {
    ConsoleDiagnostic("%s: Controller is not Accessible !!\n", kUtilityTitle);
    // Without the card there is no document: with -json that is a failure.
    return text ? 0 : 1;
  }
  run.vx = run.info.adapterInfo.adapterHandle;

  if (text) {
    PrintTextHeader(run.info);
  } else {
    WriteHealthJsonHeader(run.json, SelectedController);
  }
  if (GetBoardHealthStatus(&run) != 0) return 1;
  if (text) ConsolePrint("\n\n");

  if (ReadExtPage221(run.vx, &run.page221) != 0) run.page221 = PageCopy();
  uint32_t first = GetBoardType(run.adapterIndex) == kNineSlotBoardType ? kFirstSlotNineSlotBoard
                                                                         : kFirstSlotOtherBoards;
  for (uint32_t slot = first; slot < kCardModuleSlots; ++slot) CheckModuleSlot(&run, slot);
  if (!text && run.moduleCount != 0) run.json->EndArray();
  PrintOverallHealth(&run);

  if (text) return 0;
  document.Emit();
  return static_cast<int>(run.resultCode);
}

}  // namespace

int HealthCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<HealthOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  SuppressStatus = 0;
  if (count == 0 || words == nullptr) return AskForceFromVsk(options);
  if (count == 1) {
    PrintBanner();
    return kParseGoOn;
  }
  if (count == 2) {
    if (StrEqualNoCase(words[1], "-json")) {
      ChooseJson(options);
    } else if (StrEqualNoCase(words[1], "-raw")) {
      PrintBanner();
      options->raw = 1;
    } else if (StrEqualNoCase(words[1], "-fua")) {
      options->forceFromVsk = 1;
    } else {
      return PrintHealthUsage();
    }
    return kParseGoOn;
  }
  if (count == 3 && StrEqualNoCase(words[2], "-fua")) {
    if (StrEqualNoCase(words[1], "-json")) {
      ChooseJson(options);
      options->forceFromVsk = 1;
      return kParseGoOn;
    }
    if (StrEqualNoCase(words[1], "-raw")) {
      PrintBanner();
      options->raw = 1;
      options->forceFromVsk = 1;
      return kParseGoOn;
    }
  }
  return PrintHealthUsage();
}

int HealthCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* options = record.As<HealthOptions>();
  if (options == nullptr) return 1;
  int result = RunHealth(*options);
  return result;
}
