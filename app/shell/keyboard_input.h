// The keyboard readers of the interactive prompts. All input comes from
// standard input through the platform port.
//
// End of input: when standard input ends before a line was begun, a reader
// answers kEntryEnded instead of waiting for a line that never comes. The
// menus treat it as the answer 0 (quit); a command's parse operation maps it
// to its result 1 (terminated). Nothing is printed for it. A last line that
// the end of input cuts off (characters but no line break) is read as a
// line; the next read then reports the end.
#pragma once

#include <cstdint>

enum : uint32_t {
  kEntryValid = 0,    // the entry was accepted
  kEntryEnded = 1,    // standard input ended; nothing was read
  kEntryInvalid = 2,  // "Invalid entry." was printed
};

// One character of standard input; -1 at its end.
int ReadChar();

// Reads one line as a decimal number in minimum..maximum. *flag answers
// kEntryValid with the number; kEntryInvalid (after "\n%s: Invalid entry.\n")
// for an empty line, a character other than a digit, a number beyond 32
// bits, a line longer than 255 characters (its rest is read and dropped with
// it) or a number out of range, which is then returned; kEntryEnded with 0.
uint32_t ReadMenuNumber(uint32_t minimum, uint32_t maximum, uint32_t* flag);

// Reads one line of text into buffer (size bytes, zero-filled first; the
// line break is not stored). kEntryValid when the line has at most size - 1
// characters, all printable (codes 32 to 126; an empty line is accepted);
// otherwise "\n%s: Invalid entry.\n" and kEntryInvalid, the rest of the line
// being read and dropped with it. kEntryEnded (empty buffer) at the end of
// input.
uint32_t ReadInputLine(char* buffer, uint32_t size);

// The first character of a line of standard input; the rest of the line,
// its break included, is read and dropped so that it is not taken as the
// answer to a later prompt. '\n' for an empty line, -1 at the end of input.
int ReadAnswerChar();
