// The argument record of the format command, the fixed over-provisioning
// levels, and the readers that fill the over-provisioning part of the
// record from the command line or the keyboard.
#pragma once

#include <cstdint>

// What the format command is asked to do. Stored zero-filled by the parse
// operation; the execute operation takes it.
struct FormatOptions {
  uint8_t slot;          // module slot 0..7 when one module is formatted
  uint32_t allSlots;     // 1: every module; 0: only slot
  uint32_t maxLbaGiven;  // 1: opValue is a maximum LBA; 0: an OP percentage
  uint32_t opRequested;  // 1: change the over-provisioning
  uint32_t eraseFlash;   // 1: use the module's extended media erase
  uint32_t opValue;      // OP percentage, or the maximum LBA
};

// Predefined over-provisioning levels, in percent of the user capacity.
inline constexpr uint32_t kOpLevelPerformance = 60;  // "perf"
inline constexpr uint32_t kOpLevelNominal = 28;      // "nom"
inline constexpr uint32_t kOpLevelMaxCapacity = 16;  // "cap"

// The largest percentage the keyboard prompt and the command line accept.
inline constexpr uint32_t kOpPercentMenuLimit = 1000;

// The over-provisioning words of the command line: with 4 words the option
// is word 2 and its value word 3, with 6 words words 4 and 5. "-level"
// perf|nom|cap, "-maxlba" a maximum LBA from 1 (sets *maxLbaGiven), or
// "-percent" a percentage from 0 to 1000 (as the menu takes it); the number
// must be a whole decimal that fits 32 bits. 0 ok; 2 after the message (the caller prints the usage). Both
// outputs are always written, the value being 0 on an error.
uint32_t ParseOpLevel(int count, char** words, uint32_t* maxLbaGiven, uint32_t* value);

// The over-provisioning dialogue of the menu mode. 0 with the outputs
// written; 1 when the user quits, input ends or a number is out of range
// (after "Over-provisioning value out-of-range."); 2 for an invalid menu
// answer, with both outputs 0.
uint32_t PromptOpValue(uint32_t* maxLbaGiven, uint32_t* value);
