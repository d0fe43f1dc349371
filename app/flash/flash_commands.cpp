// -f and -b: read the image file named on the command line or at the
// keyboard, then hand it to FlashControllerImage for the selected
// controller. Every parse failure answers 1 (terminated).
#include "app/flash/flash_controller_image.h"
#include "app/flash/flash_image_args.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"

namespace {

constexpr int kFileWords = 2;   // -f <image file>, -b <image file>
constexpr int kEraseWords = 3;  // -f <image file> -eraseconfig

// Copies a file name from the command line; false (after the usage text)
// when it would not fit the record whole.
bool TakeFileName(FlashImageArgs* args, const char* word) {
  if (StrLength(word) >= kImageFileNameSize) {
    PrintFlashUsage();
    return false;
  }
  StrCopyN(args->fileName, word, kImageFileNameSize - 1);
  return true;
}

// "Enter Image File: " and the line typed; false when it was rejected or
// input ended.
bool AskFileName(FlashImageArgs* args) {
  ConsolePrint("Enter Image File: ");
  return ReadInputLine(args->fileName, kImageFileNameSize) == kEntryValid;
}

int AskEraseAndFile(FlashImageArgs* args, AppBuffer* image) {
  ConsolePrint("\nErase persistent configuration data? (Yes/No): ");
  char answer[kImageFileNameSize] = {};
  uint32_t entry = ReadInputLine(answer, sizeof answer);
  if (entry == kEntryEnded) return kParseTerminated;
  if (entry == kEntryValid) {
    if (StrEqualNoCase(answer, "YES")) {
      args->eraseConfig = 1;
    } else if (!StrEqualNoCase(answer, "NO")) {
      ConsolePrint("\n%s: Invalid entry.\n", kUtilityTitle);
      return kParseTerminated;
    }
  }
  if (!AskFileName(args)) return kParseTerminated;
  return ReadImageFile(args->fileName, image) == 0 ? kParseGoOn : kParseTerminated;
}

}  // namespace

int FlashFirmwareCommandParse(int count, char** words, CommandContext* context) {
  FlashImageArgs* args = NewFlashImageArgs(context);
  if (args == nullptr) return kParseTerminated;
  if (count == 0 || words == nullptr) return AskEraseAndFile(args, &context->file);

  if ((count != kFileWords && count != kEraseWords) || !StrEqualNoCase(words[0], "-f") ||
      (count == kEraseWords && !StrEqualNoCase(words[2], "-eraseconfig"))) {
    PrintFlashUsage();
    return kParseTerminated;
  }
  if (!TakeFileName(args, words[1])) return kParseTerminated;
  args->eraseConfig = count == kEraseWords ? 1 : 0;
  return ReadImageFile(args->fileName, &context->file) == 0 ? kParseGoOn : kParseTerminated;
}

int FlashBiosCommandParse(int count, char** words, CommandContext* context) {
  FlashImageArgs* args = NewFlashImageArgs(context);
  if (args == nullptr) return kParseTerminated;
  if (count == 0 || words == nullptr) {
    if (!AskFileName(args)) return kParseTerminated;
  } else {
    if (CheckParamCount(count, kFileWords) != 0) {
      PrintFlashUsage();
      return kParseTerminated;
    }
    if (!TakeFileName(args, words[1])) return kParseTerminated;
  }
  return ReadImageFile(args->fileName, &context->file) == 0 ? kParseGoOn : kParseTerminated;
}

int FlashFirmwareCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  AppBuffer image = TakeFile(context);
  auto* args = record.As<FlashImageArgs>();
  if (args == nullptr) return 1;
  uint32_t result = FlashControllerImage(SelectedController - 1, kFlashModeFirmware, image.get(),
                                         static_cast<uint32_t>(image.size()), args->eraseConfig, args->reserved);
  return result == 0 ? 0 : 1;
}

int FlashBiosCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  AppBuffer image = TakeFile(context);
  auto* args = record.As<FlashImageArgs>();
  if (args == nullptr) return 1;
  uint32_t result = FlashControllerImage(SelectedController - 1, kFlashModeBios, image.get(),
                                         static_cast<uint32_t>(image.size()), 0, 0);
  // The controller runs its old BIOS until it is reset, flashed or not.
  ConsolePrint("\t\tAdapter Reset Required.\n\n");
  return result == 0 ? 0 : 1;
}
