// -flashssd: one module's firmware from an image file. A SATA module first
// takes the customer IDs the image carries (and gets its own back after
// the download); a module that speaks SAS takes the image as WRITE BUFFER.
#include <cstdint>
#include <utility>

#include "app/card/device_protocol.h"
#include "app/card/slot_naming.h"
#include "app/modules/customer_id.h"
#include "app/modules/flash_ssd.h"
#include "app/modules/module_image_layouts.h"
#include "app/modules/module_protocol.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "app/shell/whole_file.h"
#include "cardlib/libzk.h"
#include "ctl/facade/qmx.h"

namespace {

constexpr uint32_t kFileNameSize = 512;
constexpr uint8_t kImageKindFirmware = 1;  // -fw: DOWNLOAD MICROCODE, download and save
constexpr int kCommandWords = 5;           // -flashssd -slot <slot> -fw <file>
constexpr uint32_t kHighestSlot = 7;
constexpr uint32_t kHighestPromptSlot = 8;

// The command's argument record; the image goes in the context's file.
struct FlashSsdOptions {
  char fileName[kFileNameSize];
  uint16_t slot;
  uint8_t imageKind;
};

struct ImageKind {
  const char* option;
  const char* text;
};
constexpr ImageKind kImageKinds[] = {{"-fw", "SSD Flashware\n"}};
constexpr uint32_t kImageKindCount = sizeof kImageKinds / sizeof kImageKinds[0];

void PrintUsage() {
  ConsolePrint("Usage :\n    %s <-c controller #> -flashssd  -slot <ssd_slot> <-mfb | -fw> <image file>\n",
               kProgramName);
}

bool SlotHasLocation(uint32_t slot) { return !StrEqualNoCase(SlotToLocation(static_cast<uint16_t>(slot)), "Unknown"); }

bool AllDigits(const char* word) {
  if (word[0] == '\0') return false;
  for (const char* c = word; *c != '\0'; ++c) {
    if (!IsDigitChar(static_cast<unsigned char>(*c))) return false;
  }
  return true;
}

int AskOptions(FlashSsdOptions* options) {
  for (;;) {
    uint32_t top = ShowImageKindMenu();
    uint32_t flag = kEntryValid;
    uint32_t choice = ReadMenuNumber(0, top, &flag);
    if (flag == kEntryEnded || choice == 0) return kParseTerminated;
    if (flag != kEntryValid) continue;
    options->imageKind = kImageKindFirmware;
    ConsolePrint("\nEnter SSD Slot Number: ");
    uint32_t slot = ReadMenuNumber(0, kHighestPromptSlot, &flag);
    if (flag == kEntryEnded) return kParseTerminated;
    if (flag != kEntryValid) continue;
    if (!SlotHasLocation(slot)) {
      ConsolePrint("\n%s: Invalid entry.\n", kUtilityTitle);
      return kParseUsageError;
    }
    options->slot = static_cast<uint16_t>(slot);
    ConsolePrint("\nEnter Firmware Image File: ");
    uint32_t read = ReadInputLine(options->fileName, kFileNameSize);
    if (read == kEntryEnded) return kParseTerminated;
    if (read == kEntryValid) return kParseGoOn;
  }
}

int ReadWords(int count, char** words, FlashSsdOptions* options) {
  if (count != kCommandWords) {
    ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
    PrintUsage();
    return kParseTerminated;
  }
  if (!StrEqualNoCase(words[1], "-slot")) {
    ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
    return kParseTerminated;
  }
  bool fits = false;
  uint32_t slot = AllDigits(words[2]) ? ParseDecimal(words[2], &fits) : 0;
  if (!AllDigits(words[2]) || !fits || slot > kHighestSlot) {
    ConsolePrint("\n%s: Invalid argument: %s.\n", kUtilityTitle, words[2]);
    return kParseUsageError;
  }
  if (!SlotHasLocation(slot)) {
    ConsolePrint("\n%s: Invalid entry.\n", kUtilityTitle);
    return kParseUsageError;
  }
  options->slot = static_cast<uint16_t>(slot);
  if (!StrEqualNoCase(words[3], kImageKinds[0].option)) {
    ConsolePrint("\n%s: Invalid command format specified on the command line.\n", kUtilityTitle);
    return kParseTerminated;
  }
  options->imageKind = kImageKindFirmware;
  // A name cut to the record's room could name another file.
  if (StrLength(words[4]) >= kFileNameSize) {
    ConsolePrint("\n%s: Invalid argument: %s.\n", kUtilityTitle, words[4]);
    return kParseUsageError;
  }
  StrCopy(options->fileName, words[4]);
  return kParseGoOn;
}

// Reads the whole image file into *image.
int ReadImageFile(const FlashSsdOptions& options, AppBuffer* image) {
  WholeFile file;
  if (!ReadWholeFile(options.fileName, WholeFileOptions{}, &file)) return kParseTerminated;
  // The customer IDs and the revision are read from the image's head: an
  // image without all of it (an empty file among them) is no module
  // firmware.
  if (!SsdFwImageHoldsHeader(file.size)) {
    ConsolePrint("\n%s: Invalid SSD firmware image (%u bytes). Name: %s.\n", kUtilityTitle, file.size,
                 options.fileName);
    return kParseTerminated;
  }
  *image = std::move(file.bytes);
  return kParseGoOn;
}

}  // namespace

uint32_t ShowImageKindMenu() {
  ConsolePrint("\n");
  for (uint32_t i = 0; i < kImageKindCount; ++i) ConsolePrint("%d.  %s", static_cast<int>(i + 1), kImageKinds[i].text);
  ConsolePrint("\n");
  ConsolePrint("Select Operation [1-%d or 0:Quit]: ", static_cast<int>(kImageKindCount));
  return kImageKindCount;
}

int FlashSsdCommandParse(int count, char** words, CommandContext* context) {
  auto* options = NewParams<FlashSsdOptions>(context);
  if (options == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  int result = count == 0 || words == nullptr ? AskOptions(options) : ReadWords(count, words, options);
  if (result != kParseGoOn) return result;
  return ReadImageFile(*options, &context->file);
}

int FlashSsdCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  AppBuffer image = TakeFile(context);
  auto* options = record.As<FlashSsdOptions>();
  if (options == nullptr) return 1;
  const uint32_t imageLength = static_cast<uint32_t>(image.size());
  uint32_t adapterIndex = SelectedController - 1;
  uint16_t slot = options->slot;
  uint32_t cage = SlotToCage(slot);
  if (cage == 0) {
    ConsolePrint("\nERROR: SSD Slot %d not applicable\n", slot);
    return 1;
  }
  // The module is found first: its protocol is asked of its own record.
  uint32_t vx = 0;
  uint32_t ssd = kNoModuleHandle;
  bool found = LibZKGetVXHandle(adapterIndex, &vx) == 0 && LibZKGetSSDHandle(vx, slot, &ssd) == 0;
  uint32_t protocol = kProtocolSata;
  if (found && ModuleProtocol(vx, ssd, &protocol) != 0) {
    ConsolePrint("\n%s: Failed getting device information.\n", kUtilityTitle);
    return 1;
  }
  AdapterInfoBlock adapterInfo;
  MemSet(&adapterInfo, 0, sizeof adapterInfo);
  uint32_t infoSize = sizeof adapterInfo;
  if (QmxGetAdapterInfo(adapterIndex, nullptr, &adapterInfo, &infoSize) != kLibOk) {
    ConsolePrint("\nERROR: Failed getting controller information.\n");
  }
  if (!found) {
    ConsolePrint("\nERROR: No SSD found in SSD slot %d\n", slot);
    return 1;
  }

  uint32_t changed = 0;
  uint32_t previousMain = 0;
  uint32_t previousSub = 0;
  if (protocol != kProtocolSas &&
      ModifyCustomerId(vx, ssd, image.get(), imageLength, &changed, &previousMain, &previousSub) != 0) {
    return 1;
  }
  ConsolePrint("\nDownloading SSD firmware on SSD slot number %d, Location %s,Cage %d...\n", slot,
               SlotToLocation(slot), static_cast<int>(cage));
  bool downloadFailed = DownloadModuleImage(adapterIndex, static_cast<uint8_t>(slot), protocol, image.get(),
                                            imageLength, options->imageKind) != 0;
  // The module gets its own IDs back whatever the download did; a restore
  // that succeeds does not turn a failed download into success, and a
  // failed one fails the command after a download that went in.
  bool restoreFailed = changed != 0 && RestoreCustomerId(vx, ssd, previousMain, previousSub) != 0;
  if (downloadFailed) {
    ConsolePrint("\n%s: SSD firmware download failed. \n", kUtilityTitle);
  } else {
    ConsolePrint("\n%s: SSD firmware download successfully completed. \n", kUtilityTitle);
  }
  return downloadFailed || restoreFailed ? 1 : 0;
}
