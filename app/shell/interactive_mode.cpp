#include "app/shell/interactive_mode.h"

#include "app/shell/banner_usage.h"
#include "app/shell/console.h"
#include "app/list/controller_table.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

const CommandEntry* FindMenuRow(uint32_t id) {
  for (size_t row = 0; row < kCommandTableRows && CommandTable[row].id != kEndRowId; ++row) {
    if (CommandTable[row].id == id) return &CommandTable[row];
  }
  return nullptr;
}

// The selected controller must answer before its menu is shown.
bool SelectedControllerAnswers() {
  AppBuffer infoBuffer(sizeof(CardInfo));
  auto* info = infoBuffer.As<CardInfo>();
  if (info == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return false;
  }
  bool found = GetCardInfo(SelectedController - 1, info) == 0;
  if (!found) {
    ConsolePrint("%s: Controller with index %u not found!\n", kUtilityTitle, SelectedController);
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
  }
  return found;
}

}  // namespace

int RunInteractive() {
  PrintBanner();
  return RunControllerLoop(ListAll);
}

int RunControllerLoop(int (*listControllers)()) {
  for (;;) {
    if (listControllers() != 0) return 1;
    ConsolePrint("\nSelect the Corvexium [1-%u or 0:Quit]: ", ControllerCount);
    uint32_t flag = kEntryValid;
    uint32_t controller = ReadMenuNumber(0, ControllerCount, &flag);
    if (flag == kEntryEnded) return 0;
    if (flag != kEntryValid) continue;
    if (controller == 0) return 0;
    SelectedController = controller;
    RunOperationMenu();
  }
}

void RunOperationMenu() {
  if (!SelectedControllerAnswers()) return;
  for (;;) {
    uint32_t highest = ShowOperationMenu();
    uint32_t flag = kEntryValid;
    uint32_t choice = ReadMenuNumber(0, highest, &flag);
    if (flag == kEntryEnded) return;
    if (flag != kEntryValid) continue;
    if (choice == 0) return;
    const CommandEntry* entry = FindMenuRow(choice);
    if (entry == nullptr) {
      ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
      continue;
    }
    RunMenuCommand(*entry);
  }
}

uint32_t ShowOperationMenu() {
  ConsolePrint("\n");
  uint32_t highest = 0;
  for (size_t row = 1; row < kCommandTableRows && CommandTable[row].menuText != nullptr; ++row) {
    ConsolePrint("%d.%s", CommandTable[row].id, CommandTable[row].menuText);
    highest = CommandTable[row].id;
  }
  ConsolePrint("\nSelect Operation [1-%u or 0:Quit]: ", highest);
  return highest;
}

void RunMenuCommand(const CommandEntry& entry) {
  CommandContext context;
  if (entry.parse(0, nullptr, &context) != kParseGoOn) {
    // The parse operation has said what went wrong; its record goes with
    // the context.
    return;
  }
  if (entry.execute(&context) != 0) ConsolePrint("\n%s: Execution failed.\n", kUtilityTitle);
}
