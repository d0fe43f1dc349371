// A module's media erase mode (what SECURITY ERASE UNIT does: standard, or
// the extended "Flash Media Erase") and its DLC state, both read from and
// written to its configuration image.
#pragma once

#include <cstdint>

#include "cardlib/modules/module_commands.h"

// Unlocks the module and reads its image; *dlcEnabled is 1 when the image's
// DLC state A is 2 (enabled). Then:
// - write != 0: the mode byte becomes (old & 0xFC) | mode with the old byte
//   saved in *savedByte, or, without savedByte, the mode argument itself (a
//   whole byte put back); the image is written and read back, and a byte
//   that reads back otherwise is a failure ("Failed to modify the Security
//   Erase behavior").
// - write == 0 (check): a mode byte of exactly 2 is switched to standard
//   ("Media Erase is set to extended", "... changed to standard"), and
//   read back as the write mode's is.
// 0, or the failing call's result (1 for a read-back that differs) after
// its message.
uint32_t SetSsdSecureEraseMode(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image, uint8_t* savedByte,
                               uint32_t mode, uint32_t* dlcEnabled, uint32_t write);

// Unlocks the module and reads its image for its DLC state, writing
// nothing. 0, or the failing call's result after its message.
uint32_t GetSsdDlcState(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image, uint32_t* dlcEnabled);
