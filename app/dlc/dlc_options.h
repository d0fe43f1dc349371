// The argument record of the -dlc command and its parse operation.
#pragma once

#include <cstdint>

// Built by DlcCommandParse; the execute operation takes it.
struct DlcOptions {
  uint32_t silent;    // -s: no question
  uint32_t validate;  // -validate: check the sizes the host sees afterwards
  uint8_t enable;     // 1 -enable, 0 -disable
};

// The data-loss question for enabling or disabling DLC: 0 when the user
// types YES (any case), 1 after "Operation aborted." (also when input ends).
uint32_t ConfirmDlcChange(uint8_t enable);
