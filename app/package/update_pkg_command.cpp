// -updatepkg: the package file named on the command line or at the
// keyboard is read whole, once, and written to the selected controller.
#include "app/package/update_pkg.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"

namespace {

constexpr uint32_t kPkgFileNameSize = 512;  // 511 characters and the terminator
constexpr int kCommandWords = 2;            // -updatepkg <flash package file>

// The command's argument record; the package belongs to it.
struct UpdatePkgArgs {
  char fileName[kPkgFileNameSize];
  uint8_t* package;  // the whole file (AllocMem), null until read
  uint32_t size;
};

void PrintUsage() {
  ConsolePrint("Usage :\n    %s <-c controller #> -updatepkg <flash package file>\n", kProgramName);
}

void FreeArgs(UpdatePkgArgs* args) {
  if (args == nullptr) return;
  FreeMem(args->package);
  FreeMem(args);
}

int ReadPackageFile(UpdatePkgArgs* args) {
  uint32_t size = 0;
  uint32_t file = IsRegularFile(args->fileName) == 0 ? FileOpen(args->fileName, "rb", &size) : kInvalidFileHandle;
  if (file == kInvalidFileHandle) {
    ConsolePrint("\n%s: File doesn't exists or not a regular file. Name: %s.\n", kUtilityTitle, args->fileName);
    return kParseUsageError;
  }
  // An empty file is read as no bytes, which the package checks refuse.
  uint8_t* package = nullptr;
  if (size != 0) {
    package = static_cast<uint8_t*>(AllocMem(size));
    if (package == nullptr) {
      FileClose(file);
      ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
      return kParseUsageError;
    }
    if (FileReadAll(file, size, package) != 0) {
      FreeMem(package);
      FileClose(file);
      ConsolePrint("%s: File read error. Name: %s", kUtilityTitle, args->fileName);
      return kParseUsageError;
    }
  }
  FileClose(file);
  args->package = package;
  args->size = size;
  return kParseGoOn;
}

int TakeFileName(int count, char** words, UpdatePkgArgs* args) {
  if (count == 0 || words == nullptr) {
    ConsolePrint("Enter Flash Package File: ");
    uint32_t entry = ReadInputLine(args->fileName, kPkgFileNameSize);
    if (entry == kEntryEnded) return kParseTerminated;
    return entry == kEntryValid ? kParseGoOn : kParseUsageError;
  }
  // A name cut to the record's room could name another file.
  if (CheckParamCount(count, kCommandWords) != 0 || StrLength(words[1]) >= kPkgFileNameSize) {
    PrintUsage();
    return kParseUsageError;
  }
  StrCopy(args->fileName, words[1]);
  return kParseGoOn;
}

}  // namespace

int UpdatePkgCommandParse(int count, char** words, CommandContext* context) {
  auto* args = static_cast<UpdatePkgArgs*>(AllocMem(sizeof(UpdatePkgArgs)));
  if (args == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  MemSet(args, 0, sizeof(UpdatePkgArgs));
  context->params = args;
  int result = TakeFileName(count, words, args);
  return result == kParseGoOn ? ReadPackageFile(args) : result;
}

int UpdatePkgCommandExec(CommandContext* context) {
  auto* args = static_cast<UpdatePkgArgs*>(context->params);
  context->params = nullptr;
  if (args == nullptr) return 1;
  PackageModeFlag = 1;
  uint32_t result = UpdateFlashPkg(args->package, args->size);
  PackageModeFlag = 0;
  FreeArgs(args);
  return result == 0 ? 0 : 1;
}
