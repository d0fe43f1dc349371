// The words of the -dlc command: "-dlc" followed by "-enable" or
// "-disable", and the flags "-s" and "-validate", in any order.
#include "app/dlc/dlc_options.h"

#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"

namespace {

constexpr int kMaxWords = 4;
constexpr uint32_t kAnswerSize = 512;

void PrintInvalidFormat() {
  ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
}

}  // namespace

uint32_t ConfirmDlcChange(uint8_t enable) {
  // Both directions rewrite every module's capacity layout and erase it, so
  // both questions warn of the data loss.
  if (enable != 0) {
    ConsolePrint(
        "\nWARNING: Enabling DLC will result in loss of data on the selected Corvexium device. Type YES if you would "
        "like to continue, or any other key to abort the request: ");
  } else {
    ConsolePrint(
        "\nWARNING: Disabling DLC will result in loss of data on the selected Corvexium device. Type YES if you would "
        "like to continue, or any other key to abort the request: ");
  }
  char answer[kAnswerSize];
  if (ReadInputLine(answer, kAnswerSize) == kEntryValid && StrEqualNoCase(answer, "YES")) return 0;
  ConsolePrint("\n%s: Operation aborted.\n", kUtilityTitle);
  return 1;
}

int DlcCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<DlcOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  // Too many words stop the command after the message: a word list that
  // is not the command's must not go on to change the card.
  if (count > kMaxWords) {
    PrintInvalidFormat();
    return kParseTerminated;
  }
  bool directionGiven = false;
  for (int i = 0; i < count; ++i) {
    const char* word = words[i];
    if (StrEqualNoCase(word, "-dlc")) {
      if (i + 1 >= count) {
        PrintInvalidFormat();
        return kParseTerminated;
      }
      const char* direction = words[++i];
      if (StrEqualNoCase(direction, "-enable")) {
        options->enable = 1;
      } else if (StrEqualNoCase(direction, "-disable")) {
        options->enable = 0;
      } else {
        PrintInvalidFormat();
        return kParseTerminated;
      }
      directionGiven = true;
    } else if (StrEqualNoCase(word, "-s")) {
      options->silent = 1;
    } else if (StrEqualNoCase(word, "-validate")) {
      options->validate = 1;
    } else {
      PrintInvalidFormat();
      return kParseTerminated;
    }
  }
  // The menu offers no -dlc row; without its direction the command has
  // nothing to do.
  if (!directionGiven) {
    PrintInvalidFormat();
    return kParseTerminated;
  }
  if (options->silent != 0) return kParseGoOn;
  return static_cast<int>(ConfirmDlcChange(options->enable));
}
