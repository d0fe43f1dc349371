#include "app/flash/flash_image_args.h"

#include <utility>

#include "app/shell/console.h"
#include "app/shell/utility_names.h"
#include "app/shell/whole_file.h"

FlashImageArgs* NewFlashImageArgs(CommandContext* context) {
  auto* args = NewParams<FlashImageArgs>(context);
  if (args == nullptr) ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
  return args;
}

int ReadImageFile(const char* fileName, AppBuffer* image) {
  WholeFile file;
  if (!ReadWholeFile(fileName, WholeFileOptions{}, &file)) return 1;
  *image = std::move(file.bytes);
  return 0;
}

void PrintFlashUsage() {
  ConsolePrint("Usage :\n    %s <-c controller #> <-b | -f> <image file> [-eraseconfig] \n", kProgramName);
}
