#include "app/shell/keyboard_input.h"

#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "os/port.h"

namespace {

constexpr uint32_t kMenuLineSize = 256;  // 255 characters and the terminator

void PrintInvalidEntry() { ConsolePrint("\n%s: Invalid entry.\n", kUtilityTitle); }

}  // namespace

int ReadChar() { return os::ActivePort().ReadChar(); }

uint32_t ReadMenuNumber(uint32_t minimum, uint32_t maximum, uint32_t* flag) {
  *flag = kEntryValid;
  char line[kMenuLineSize] = {};
  uint32_t stored = 0;
  bool began = false;
  bool invalid = false;
  for (;;) {
    int c = ReadChar();
    if (c < 0) {
      if (!began) {
        *flag = kEntryEnded;
        return 0;
      }
      break;
    }
    began = true;
    if (c == '\n') break;
    if (stored < kMenuLineSize - 1) {
      line[stored++] = static_cast<char>(c);
      if (!IsDigitChar(c)) invalid = true;
    } else {
      // Too long to be a menu number: the rest of the line goes with it, so
      // that it is not taken as the answer to the next prompt.
      invalid = true;
    }
  }
  if (stored == 0 || invalid) {
    *flag = kEntryInvalid;
    PrintInvalidEntry();
    return 0;
  }
  bool fits = false;
  uint32_t value = ParseDecimal(line, &fits);
  if (!fits || value < minimum || value > maximum) {
    *flag = kEntryInvalid;
    PrintInvalidEntry();
  }
  return value;
}

uint32_t ReadInputLine(char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return kEntryInvalid;
  MemSet(buffer, 0, size);
  uint32_t stored = 0;
  bool began = false;
  bool tooLong = false;
  bool unprintable = false;
  for (;;) {
    int c = ReadChar();
    if (c < 0) {
      if (!began) return kEntryEnded;
      break;
    }
    began = true;
    if (c == '\n') break;
    // Judged as read, so that a NUL or a control character beyond what is
    // stored still makes the line invalid.
    if (!IsPrintChar(c)) unprintable = true;
    if (stored < size - 1) {
      buffer[stored++] = static_cast<char>(c);
    } else {
      tooLong = true;
    }
  }
  if (tooLong || unprintable) {
    PrintInvalidEntry();
    return kEntryInvalid;
  }
  return kEntryValid;
}

int ReadAnswerChar() {
  int first = ReadChar();
  int c = first;
  while (c >= 0 && c != '\n') c = ReadChar();
  return first;
}
