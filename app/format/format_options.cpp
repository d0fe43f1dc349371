// The parse operation of the format command: the command line, or the
// answers to the menu mode's questions, turned into a FormatOptions record.
#include "app/format/format_options.h"

#include "app/card/card_state.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/format/format_prompts.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "app/shell/whole_number.h"

namespace {

constexpr uint32_t kHighestSlot = 7;
constexpr int kMaxWords = 8;
constexpr uint32_t kAnswerSize = 512;
constexpr uint32_t kHighestMaxLba = 0xFFFFFFFF;

enum : uint32_t {
  kSingleOrAllQuit = 0,
  kSingleSlot = 1,
  kAllSlots = 2,
};

void PrintInvalidFormat() {
  ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
}

void PrintInvalidEntry() { ConsolePrint("\n%s: Invalid entry.\n", kUtilityTitle); }

void PrintOutOfRange() { ConsolePrint("%s: Over-provisioning value out-of-range.\n", kUtilityTitle); }

void PrintUsage() {
  ConsolePrint(
      "Usage :\n    %s <-c controller # > -format [-slot <ssd_slot>] [-op <-level <perf | nom | cap>> | "
      "-maxlba <new max LBA> | -percent <percentage>] [-eraseflash] [-s]\n",
      kProgramName);
}

// Words 1 and 2: "-slot" and the slot number. The number is checked as a
// whole before it is narrowed into the record's byte. 0, or 2 after the
// message.
int ParseSlotWords(char** words, bool unconfigured, FormatOptions* options) {
  if (!StrEqualNoCase(words[1], "-slot")) {
    PrintInvalidFormat();
    return kParseUsageError;
  }
  if (!unconfigured) {
    ConsolePrint("%s: Cannot format individual components.\n", kUtilityTitle);
    return kParseUsageError;
  }
  uint32_t slot = 0;
  if (!ParseWholeNumber(words[2], &slot) || slot > kHighestSlot) {
    PrintInvalidEntry();
    return kParseUsageError;
  }
  options->slot = static_cast<uint8_t>(slot);
  options->allSlots = 0;
  return kParseGoOn;
}

int ParseCommandLine(int count, char** words, bool unconfigured, FormatOptions* options) {
  int result = kParseGoOn;
  if (count > kMaxWords) {
    ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
    result = kParseUsageError;
  }

  // The trailing flags: "-s" can only be last, "-eraseflash" only last or
  // just before "-s".
  bool noConfirm = count > 1 && StrEqualNoCase(words[count - 1], "-s");
  int flagWords = noConfirm ? 1 : 0;
  int eraseAt = count - 1 - flagWords;
  if (eraseAt > 0 && StrEqualNoCase(words[eraseAt], "-eraseflash")) {
    options->eraseFlash = 1;
    ++flagWords;
  }
  int remaining = count - flagWords;

  int step = kParseGoOn;
  switch (remaining) {
    case 1:
      options->allSlots = 1;
      break;
    case 3:
      step = ParseSlotWords(words, unconfigured, options);
      break;
    case 4:
      if (!StrEqualNoCase(words[1], "-op")) {
        PrintInvalidFormat();
        step = kParseUsageError;
        break;
      }
      options->allSlots = 1;
      options->opRequested = 1;
      step = static_cast<int>(ParseOpLevel(4, words, &options->maxLbaGiven, &options->opValue));
      break;
    case 6:
      step = ParseSlotWords(words, unconfigured, options);
      if (step != kParseGoOn) break;
      if (!StrEqualNoCase(words[3], "-op")) {
        PrintInvalidFormat();
        step = kParseUsageError;
        break;
      }
      options->opRequested = 1;
      step = static_cast<int>(ParseOpLevel(6, words, &options->maxLbaGiven, &options->opValue));
      break;
    default:
      step = kParseUsageError;
      break;
  }
  if (step != kParseGoOn || result != kParseGoOn) {
    PrintUsage();
    return kParseUsageError;
  }
  if (noConfirm) return kParseGoOn;
  return static_cast<int>(ConfirmFormat());
}

// A Yes/No question: 0 with *yes set, the reader's result when the line is
// not read, 1 after "Invalid entry." for any other answer.
int AskYesNo(const char* question, bool* yes) {
  ConsolePrint("%s", question);
  char answer[kAnswerSize];
  uint32_t read = ReadInputLine(answer, kAnswerSize);
  if (read != kEntryValid) return static_cast<int>(read);
  if (StrEqualNoCase(answer, "YES")) {
    *yes = true;
    return kParseGoOn;
  }
  if (StrEqualNoCase(answer, "NO")) {
    *yes = false;
    return kParseGoOn;
  }
  PrintInvalidEntry();
  return kParseTerminated;
}

// Which modules: every one on a configured card; else the user's choice of
// one slot or all. 0, or 1 when the user quits or input ends.
int AskSlots(bool unconfigured, FormatOptions* options) {
  if (!unconfigured) {
    options->allSlots = 1;
    return kParseGoOn;
  }
  for (;;) {
    ConsolePrint("\nEnter whether to format single or all SSDs[1:Single 2:All or 0:Quit] ");
    uint32_t flag = kEntryValid;
    uint32_t choice = ReadMenuNumber(kSingleOrAllQuit, kAllSlots, &flag);
    if (flag == kEntryEnded) return kParseTerminated;
    if (flag != kEntryValid) continue;
    if (choice == kSingleOrAllQuit) return kParseTerminated;
    if (choice == kAllSlots) {
      options->allSlots = 1;
      return kParseGoOn;
    }
    ConsolePrint("\nEnter SSD Slot Number: ");
    uint32_t slot = ReadMenuNumber(0, kHighestSlot, &flag);
    if (flag == kEntryEnded) return kParseTerminated;
    if (flag != kEntryValid) continue;
    options->allSlots = 0;
    options->slot = static_cast<uint8_t>(slot);
    return kParseGoOn;
  }
}

int AskMenu(bool unconfigured, FormatOptions* options) {
  int result = AskSlots(unconfigured, options);
  if (result != kParseGoOn) return result;

  bool yes = false;
  result = AskYesNo("\nPerform Over-provisioning? (Yes/No): ", &yes);
  if (result != kParseGoOn) return result;
  if (yes) {
    options->opRequested = 1;
    uint32_t maxLbaGiven = 0;
    uint32_t value = 0;
    if (PromptOpValue(&maxLbaGiven, &value) != 0) return kParseTerminated;
    options->maxLbaGiven = maxLbaGiven;
    options->opValue = value;
  }

  result = AskYesNo("\nEnable Flash Media Erase? (Yes/No): ", &yes);
  if (result != kParseGoOn) return result;
  if (yes) options->eraseFlash = 1;

  return static_cast<int>(ConfirmFormat());
}

// A number prompt of the over-provisioning dialogue. 0 with the number; 1
// when it is out of range (after the message) or input ends.
uint32_t AskOpNumber(const char* prompt, uint32_t minimum, uint32_t maximum, uint32_t* value) {
  ConsolePrint("%s", prompt);
  uint32_t flag = kEntryValid;
  uint32_t number = ReadMenuNumber(minimum, maximum, &flag);
  if (flag == kEntryEnded) return 1;
  if (flag != kEntryValid) {
    PrintOutOfRange();
    return 1;
  }
  *value = number;
  return 0;
}

}  // namespace

uint32_t ParseOpLevel(int count, char** words, uint32_t* maxLbaGiven, uint32_t* value) {
  *maxLbaGiven = 0;
  *value = 0;
  int optionAt = count == 6 ? 4 : 2;
  const char* option = words[optionAt];
  const char* argument = words[optionAt + 1];

  if (StrEqualNoCase(option, "-level")) {
    if (StrEqualNoCase(argument, "perf")) {
      *value = kOpLevelPerformance;
    } else if (StrEqualNoCase(argument, "nom")) {
      *value = kOpLevelNominal;
    } else if (StrEqualNoCase(argument, "cap")) {
      *value = kOpLevelMaxCapacity;
    } else {
      PrintInvalidFormat();
      return kParseUsageError;
    }
    return kParseGoOn;
  }

  if (StrEqualNoCase(option, "-maxlba")) {
    *maxLbaGiven = 1;
    uint32_t lba = 0;
    if (!ParseWholeNumber(argument, &lba)) {
      PrintInvalidEntry();
      return kParseUsageError;
    }
    if (lba == 0) {
      PrintOutOfRange();
      return kParseUsageError;
    }
    *value = lba;
    return kParseGoOn;
  }

  if (StrEqualNoCase(option, "-percent")) {
    // The same range as the menu's: a percentage beyond it would give a
    // target the arithmetic cannot hold meaningfully.
    uint32_t percentage = 0;
    if (!ParseWholeNumber(argument, &percentage)) {
      PrintInvalidEntry();
      return kParseUsageError;
    }
    if (percentage > kOpPercentMenuLimit) {
      PrintOutOfRange();
      return kParseUsageError;
    }
    *value = percentage;
    return kParseGoOn;
  }

  PrintInvalidFormat();
  return kParseUsageError;
}

uint32_t PromptOpValue(uint32_t* maxLbaGiven, uint32_t* value) {
  uint32_t choice = kOverProvisionQuit;
  if (SelectOverProvisioning(&choice) != 0) {
    *maxLbaGiven = 0;
    *value = 0;
    return 2;
  }
  switch (choice) {
    case kOverProvisionQuit:
      return 1;
    case kOverProvisionPerformance:
      *value = kOpLevelPerformance;
      *maxLbaGiven = 0;
      return 0;
    case kOverProvisionNominal:
      *value = kOpLevelNominal;
      *maxLbaGiven = 0;
      return 0;
    case kOverProvisionMaxCapacity:
      *value = kOpLevelMaxCapacity;
      *maxLbaGiven = 0;
      return 0;
    case kOverProvisionMaxLba: {
      uint32_t lba = 0;
      if (AskOpNumber("\nEnter new max LBA value: ", 1, kHighestMaxLba, &lba) != 0) return 1;
      *value = lba;
      *maxLbaGiven = 1;
      return 0;
    }
    case kOverProvisionPercentage: {
      uint32_t percentage = 0;
      if (AskOpNumber("\nEnter over provisioning percentage value:", 0, kOpPercentMenuLimit, &percentage) != 0) {
        return 1;
      }
      *value = percentage;
      *maxLbaGiven = 0;
      return 0;
    }
    default:
      *maxLbaGiven = 0;
      *value = 0;
      return 2;
  }
}

int FormatCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<FormatOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  bool unconfigured = false;
  if (CheckCardState(&unconfigured) != 0) {
    ConsolePrint("\n%s: Execution failed.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0) return AskMenu(unconfigured, options);
  return ParseCommandLine(count, words, unconfigured, options);
}
