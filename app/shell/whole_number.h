// A number word of the command line: a slot, a max LBA, a percentage.
#pragma once

#include <cstdint>

// True when the word is a whole unsigned decimal number: digits only, at
// least one, and a value of at most 4294967295; *value then holds it. A
// sign, a blank, a trailing character or a number beyond 32 bits is refused
// rather than read as 0 or wrapped, and leaves *value untouched. Callers
// range-check the value before narrowing it.
bool ParseWholeNumber(const char* word, uint32_t* value);
