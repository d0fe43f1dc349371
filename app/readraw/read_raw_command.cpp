// -readraw -p <page address> -s <slot> -f <file>: the words or the prompts,
// then the page read.
#include "app/readraw/read_raw.h"
#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/shell/hex_number.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"

namespace {

constexpr int kReadRawWords = 7;  // -readraw -p <addr> -s <slot> -f <name>
constexpr uint32_t kLastSlot = 7;
constexpr uint32_t kMaxDecimalDigits = 20;

int Usage() {
  ConsolePrint("Usage :\n  %s  <-c controller #>  -readraw  <-p pageAddr(hex)>  <-s slotNum #>  <-f fileName>\n",
               kProgramName);
  return kParseTerminated;
}

bool ParseDecimal64(const char* text, uint64_t* value) {
  size_t n = StrLength(text);
  if (n == 0 || n > kMaxDecimalDigits) return false;
  uint64_t v = 0;
  for (size_t i = 0; i < n; ++i) {
    if (!IsDigitChar(static_cast<unsigned char>(text[i]))) return false;
    uint64_t digit = static_cast<uint64_t>(text[i] - '0');
    if (v > (UINT64_MAX - digit) / 10) return false;
    v = v * 10 + digit;
  }
  *value = v;
  return true;
}

int IncorrectEntry() {
  ConsolePrint("\n%s: Incorrect number of command line parameters.\n", kUtilityTitle);
  return kParseTerminated;
}

int AskRequest(ReadRawRequest* request) {
  char line[kReadRawNameSize] = {};
  ConsolePrint("\nEnter Physical Page Address: ");
  uint32_t entry = ReadInputLine(line, sizeof line);
  if (entry == kEntryEnded) return kParseTerminated;
  if (entry != kEntryValid || !ParsePageAddress(line, &request->addressLow, &request->addressHigh)) {
    return IncorrectEntry();
  }
  ConsolePrint("\nEnter SSD Slot Number: ");
  uint32_t flag = kEntryValid;
  uint32_t slot = ReadMenuNumber(0, kLastSlot, &flag);
  if (flag == kEntryEnded) return kParseTerminated;
  if (flag != kEntryValid) return IncorrectEntry();
  request->slot = static_cast<uint8_t>(slot);
  ConsolePrint("\nEnter Save FileName: ");
  entry = ReadInputLine(request->fileName, sizeof request->fileName);
  if (entry == kEntryEnded) return kParseTerminated;
  if (entry != kEntryValid || request->fileName[0] == '\0') return IncorrectEntry();
  return kParseGoOn;
}

}  // namespace

bool ParsePageAddress(const char* text, uint32_t* low, uint32_t* high) {
  if (text == nullptr) return false;
  if (HasHexPrefix(text)) {
    *low = 0;
    *high = 0;
    return ParseHexNumber(text, low, high);
  }
  uint64_t value = 0;
  if (!ParseDecimal64(text, &value)) return false;
  *low = static_cast<uint32_t>(value);
  *high = static_cast<uint32_t>(value >> 32);
  return true;
}

int ReadRawCommandParse(int count, char** words, CommandContext* context) {
  auto* request = NewParams<ReadRawRequest>(context);
  if (request == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return kParseTerminated;
  }
  if (count == 0 || words == nullptr) return AskRequest(request);
  if (count != kReadRawWords || !StrEqualNoCase(words[1], "-p") ||
      !(StrEqualNoCase(words[3], "-s") || StrEqualNoCase(words[3], "-slot")) || !StrEqualNoCase(words[5], "-f")) {
    return Usage();
  }
  if (!ParsePageAddress(words[2], &request->addressLow, &request->addressHigh)) return Usage();
  // The slot is kept in a byte: a number beyond it would name another slot.
  bool fits = false;
  uint32_t slot = ParseDecimal(words[4], &fits);
  if (!fits || slot > 0xFF) return Usage();
  request->slot = static_cast<uint8_t>(slot);
  if (StrLength(words[6]) >= sizeof request->fileName || words[6][0] == '\0') return Usage();
  StrCopy(request->fileName, words[6]);
  return kParseGoOn;
}

int ReadRawCommandExec(CommandContext* context) {
  AppBuffer record = TakeParams(context);
  auto* request = record.As<ReadRawRequest>();
  if (request == nullptr) return 1;
  return ReadRawPage(request->addressLow, request->addressHigh, request->slot, request->fileName) == 0 ? 0 : 1;
}
