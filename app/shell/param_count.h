// The word-count check of commands with a fixed number of words.
#pragma once

#include <cstdint>

// 0 when count is 0 (interactive mode) or equals expected; otherwise prints
// "Incorrect number of command line parameters." and answers 1.
int CheckParamCount(int count, uint8_t expected);
