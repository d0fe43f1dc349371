// -createpkg: the manifest named on the command line or at the keyboard is
// read whole, its images are combined into one package, and the package is
// written under a temporary name, read back, checked and only then named.
#include "app/package/create_pkg_command.h"

#include <cstdint>

#include "app/package/package_builder.h"
#include "app/package/package_manifest.h"
#include "app/shell/app_buffer.h"
#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"

namespace {

constexpr uint32_t kPkgPathSize = 512;  // 511 characters and the terminator
constexpr int kCommandWords = 4;        // -createpkg <manifest> -output <package>

// The command's argument record.
struct CreatePkgArgs {
  char manifestPath[kPkgPathSize];
  char outputPath[kPkgPathSize];
};

void PrintUsage() {
  ConsolePrint("Usage :\n    %s -createpkg <package manifest file> -output <output package file>\n", kProgramName);
}

// A refused answer leaves no path: the characters the reader kept of it
// would name a file the user did not give.
int AskPath(const char* prompt, char* path) {
  ConsolePrint("%s", prompt);
  uint32_t entry = ReadInputLine(path, kPkgPathSize);
  if (entry != kEntryValid) MemSet(path, 0, kPkgPathSize);
  if (entry == kEntryEnded) return kParseTerminated;
  return entry == kEntryValid ? kParseGoOn : kParseUsageError;
}

int TakePaths(int count, char** words, CreatePkgArgs* args) {
  if (count == 0 || words == nullptr) {
    // The manifest's answer is not judged here: an empty or refused one
    // names no file, which the execution reports.
    AskPath("Enter Package Manifest File Path: ", args->manifestPath);
    return AskPath("Enter Path For Generated Package File: ", args->outputPath);
  }
  if (count < kCommandWords) {
    ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
    PrintUsage();
    return kParseUsageError;
  }
  if (!StrEqualNoCase(words[0], "-createpkg") || !StrEqualNoCase(words[2], "-output")) {
    ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
    return kParseUsageError;
  }
  // A path cut to the record's room could name another file.
  if (StrLength(words[1]) >= kPkgPathSize || StrLength(words[3]) >= kPkgPathSize) {
    PrintUsage();
    return kParseUsageError;
  }
  StrCopy(args->manifestPath, words[1]);
  StrCopy(args->outputPath, words[3]);
  return kParseGoOn;
}

// The manifest's text, read whole; false after its message.
bool ReadManifest(const char* path, AppBuffer* text) {
  uint32_t size = 0;
  uint64_t wholeSize = 0;
  uint32_t handle = IsRegularFile(path) ? FileOpen(path, "r", &size) : kInvalidFileHandle;
  if (handle == kInvalidFileHandle) {
    ConsolePrint("%s: Error opening package manifest file %s.\n", kUtilityTitle, path);
    return false;
  }
  ConsolePrint("%s: Parsing package manifest file %s.\n", kUtilityTitle, path);
  bool good = true;
  // A file beyond 32 bits would be read cut short.
  if (!RegularFileSize(path, &wholeSize) || wholeSize != size || !(*text = AppBuffer(size))) {
    ConsolePrint("%s: Error allocating memory to read package manifest file %s.\n", kUtilityTitle, path);
    good = false;
  } else if (FileReadAll(handle, size, text->get()) != 0) {
    ConsolePrint("%s: Error reading package manifest file %s.\n", kUtilityTitle, path);
    good = false;
  }
  FileClose(handle);
  return good;
}

int BuildPackage(const CreatePkgArgs& args) {
  AppBuffer text;
  if (!ReadManifest(args.manifestPath, &text)) return 1;
  PkgSpec spec;
  if (!ReadPkgManifest(reinterpret_cast<const char*>(text.get()), text.size(), args.manifestPath, &spec)) return 1;
  ConsolePrint("%s: Combining all images into a single binary image.\n", kUtilityTitle);
  AppBuffer package;
  if (!AssemblePackage(spec, &package)) return 1;
  return WritePackageFile(args.outputPath, package.get(), static_cast<uint32_t>(package.size())) ? 0 : 1;
}

}  // namespace

int CreatePkgCommandParse(int count, char** words, CommandContext* context) {
  auto* args = NewParams<CreatePkgArgs>(context);
  if (args == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  return TakePaths(count, words, args);
}

int CreatePkgCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  const auto* args = record.As<CreatePkgArgs>();
  if (args == nullptr) return 1;
  return BuildPackage(*args);
}
