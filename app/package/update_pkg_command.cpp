// -updatepkg: the package file named on the command line or at the
// keyboard is read whole, once, and written to the selected controller.
#include <utility>

#include "app/package/update_pkg.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "app/shell/whole_file.h"

namespace {

constexpr uint32_t kPkgFileNameSize = 512;  // 511 characters and the terminator
constexpr int kCommandWords = 2;            // -updatepkg <flash package file>

// The command's argument record; the package goes in the context's file.
struct UpdatePkgArgs {
  char fileName[kPkgFileNameSize];
};

void PrintUsage() {
  ConsolePrint("Usage :\n    %s <-c controller #> -updatepkg <flash package file>\n", kProgramName);
}

// An empty file is read as no bytes, which the package checks refuse.
int ReadPackageFile(const UpdatePkgArgs& args, AppBuffer* package) {
  WholeFile file;
  if (!ReadWholeFile(args.fileName, {.readFailure = "%s: File read error. Name: %s"}, &file)) return kParseUsageError;
  *package = std::move(file.bytes);
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
  auto* args = NewParams<UpdatePkgArgs>(context);
  if (args == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  int result = TakeFileName(count, words, args);
  return result == kParseGoOn ? ReadPackageFile(*args, &context->file) : result;
}

int UpdatePkgCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  AppBuffer package = TakeFile(context);
  if (!record) return 1;
  PackageModeFlag = 1;
  uint32_t result = UpdateFlashPkg(package.get(), static_cast<uint32_t>(package.size()));
  PackageModeFlag = 0;
  return result == 0 ? 0 : 1;
}
