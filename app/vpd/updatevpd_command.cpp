// -updatevpd: programs the card's Vital Product Data from a VPD data file.
// The file is checked whole before the card is touched; the page is written
// only when every byte of the new VPD is known and fits it.
#include <cstdint>
#include <vector>

#include "app/card/config_page_wrappers.h"
#include "app/card/vpd_page.h"
#include "app/shell/app_buffer.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/param_count.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "app/shell/whole_file.h"
#include "app/vpd/vpd_page_bytes.h"
#include "app/vpd/vpd_text_file.h"
#include "cardlib/libzk.h"
#include "ctl/pages/manufacturing_pages.h"

namespace {

constexpr uint32_t kVpdFileNameSize = 512;  // 511 characters and the terminator
constexpr int kWords = 2;                   // -updatevpd <vpd data file>

// The command's argument record.
struct UpdateVpdArgs {
  char fileName[kVpdFileNameSize];
};

void PrintUsage() { ConsolePrint("Usage :\n    %s <-c controller #> -updatevpd <vpd data file> \n", kProgramName); }

// The file is read as one text: its bytes and a terminating NUL. An empty
// file holds no VPD.
constexpr WholeFileOptions kVpdFile{
    .emptyRefusal = "\n%s: Invalid VPD data %s.\n",
    .terminated = true,
    .readFailure = "\n%s: The VPD data file %s could not be read.\n",
};

int UpdateVpd(const char* name) {
  WholeFile text;
  if (!ReadWholeFile(name, kVpdFile, &text)) return 1;
  std::vector<uint8_t> vpd;
  if (!ParseVpdFile(reinterpret_cast<const char*>(text.bytes.get()), text.size, &vpd)) {
    ConsolePrint("\n%s: VPD File parse failed\n", kUtilityTitle);
    return 1;
  }

  // A card whose information cannot be read has no adapter handle; the page
  // read then fails and says so.
  CardInfo info{};
  GetCardInfo(SelectedController - 1, &info);
  uint32_t adapter = info.adapterInfo.adapterHandle;
  AppBuffer page;
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  if (ReadMfgPage(adapter, &page, &iocStatus, &iocLogInfo) == 0) {
    ConsolePrint("\n%s: VPD read failed.\n", kUtilityTitle);
    return 1;
  }
  // The write sends the length the page announces: the new VPD must lie
  // inside it, or its end would be lost.
  size_t held = VpdPageBytes(page.get(), page.size());
  if (held < manufacturing_page1::kVpdArea + vpd.size()) {
    size_t area = held > manufacturing_page1::kVpdArea ? held - manufacturing_page1::kVpdArea : 0;
    ConsolePrint("\n%s: The VPD page holds %u bytes of VPD, fewer than the %u bytes of the file.\n", kUtilityTitle,
                 static_cast<unsigned>(area), static_cast<unsigned>(vpd.size()));
    return 1;
  }
  // Bytes of the area beyond the new VPD keep what they held.
  MemCopy(page.get() + manufacturing_page1::kVpdArea, vpd.data(), vpd.size());
  if (WriteMfgPage(adapter, page.get(), &iocStatus, &iocLogInfo) == 0) {
    ConsolePrint("\n%s: VPD write failed.\n", kUtilityTitle);
    return 1;
  }
  ConsolePrint("\n%s: VPD written successfully.\n", kUtilityTitle);
  return 0;
}

}  // namespace

int UpdateVpdCommandParse(int count, char** words, CommandContext* context) {
  auto* args = NewParams<UpdateVpdArgs>(context);
  if (args == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0 || words == nullptr) {
    ConsolePrint("Enter VPD File Name: ");
    switch (ReadInputLine(args->fileName, sizeof args->fileName)) {
      case kEntryValid: return kParseGoOn;
      case kEntryEnded: return kParseTerminated;
      default: return kParseUsageError;
    }
  }
  // A name that does not fit the record whole is refused, never cut to
  // the name of another file.
  if (CheckParamCount(count, kWords) != 0 || StrLength(words[1]) >= kVpdFileNameSize) {
    PrintUsage();
    return kParseUsageError;
  }
  StrCopyN(args->fileName, words[1], kVpdFileNameSize - 1);
  return kParseGoOn;
}

int UpdateVpdCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* args = record.As<UpdateVpdArgs>();
  if (args == nullptr) return 1;
  int result = UpdateVpd(args->fileName);
  return result;
}
