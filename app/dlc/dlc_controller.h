// The controller's side of DLC: manufacturing page 10's DLC bits (the
// firmware supports DLC; DLC is enabled) and whether the modules' firmware
// supports it.
#pragma once

#include <cstdint>

// Support codes.
enum : uint32_t {
  kDlcSupported = 0,
  kDlcNoControllerSupport = 1,  // manufacturing page 10 lacks the support bit
  kDlcNoModuleSupport = 2,      // a module lacks SMART attribute 243
};

// Reads manufacturing page 10 and says whether the controller firmware
// supports DLC ("CX firmware supports DLC." or "... does not support
// DLC."). *enabled gets the page's DLC enabled bit. 0 with the code; 1
// after "ERROR: Corvexium is not in a proper state.\n" when the page
// cannot be read.
uint32_t ReadControllerDlcSupport(uint32_t adapter, uint32_t* supportCode, bool* enabled);

// Sets (enable) or clears the DLC enabled bit of manufacturing page 10 and
// writes the page to NVRAM, then reads it back. 0, or 1 after "DLC enable
// config bit write failed." (also when the read-back does not hold it).
uint32_t SetControllerDlcBit(uint32_t adapter, uint8_t enable);

// For each module present, its SMART data: a module whose attributes lack
// 243 sets *supportCode to kDlcNoModuleSupport and ends the scan; one that
// has it sets kDlcSupported; a module whose data cannot be read is
// skipped. Always 0.
uint32_t CheckVskDlcSupport(uint32_t vxHandle, uint32_t* supportCode);
