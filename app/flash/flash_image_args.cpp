#include "app/flash/flash_image_args.h"

#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"

FlashImageArgs* NewFlashImageArgs() {
  auto* args = static_cast<FlashImageArgs*>(AllocMem(sizeof(FlashImageArgs)));
  if (args == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return nullptr;
  }
  MemSet(args, 0, sizeof(FlashImageArgs));
  return args;
}

void FreeFlashImageArgs(FlashImageArgs* args) {
  if (args == nullptr) return;
  FreeMem(args->image);
  FreeMem(args);
}

int ReadImageFile(FlashImageArgs* args) {
  uint32_t size = 0;
  uint32_t handle = IsRegularFile(args->fileName) == 0 ? FileOpen(args->fileName, "rb", &size) : kInvalidFileHandle;
  if (handle == kInvalidFileHandle) {
    ConsolePrint("\n%s: File doesn't exists or not a regular file. Name: %s.\n", kUtilityTitle, args->fileName);
    return 1;
  }
  uint8_t* image = nullptr;
  if (size != 0) {
    image = static_cast<uint8_t*>(AllocMem(size));
    if (image == nullptr) {
      FileClose(handle);
      ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
      return 1;
    }
    if (FileReadAll(handle, size, image) != 0) {
      FreeMem(image);
      FileClose(handle);
      return 1;
    }
  }
  FileClose(handle);
  args->image = image;
  args->size = size;
  return 0;
}

void PrintFlashUsage() {
  ConsolePrint("Usage :\n    %s <-c controller #> <-b | -f> <image file> [-eraseconfig] \n", kProgramName);
}
