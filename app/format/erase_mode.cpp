#include "app/format/erase_mode.h"

#include "app/card/ssd_config_fields.h"
#include "app/shell/console.h"
#include "cardlib/unlock/module_unlock.h"
#include "ctl/base/byte_order.h"
#include "module_unlock_constants.h"

namespace {

namespace f = ssd_config;

constexpr uint8_t kUnlockLevel = 1;

uint32_t UnlockAndRead(uint32_t vx, uint32_t ssd, SsdConfigImage* image, uint32_t* dlcEnabled) {
  *dlcEnabled = 0;
  uint32_t result = LibZKSSDUnlock(vx, ssd, kUnlockLevel, kModuleUnlockCredential);
  if (result != 0) {
    ConsolePrint("\nERROR : Error in LibZKSSDUnlock.\n");
    return result;
  }
  result = ReadSsdConfigImage(vx, ssd, image);
  if (result != 0) {
    ConsolePrint("\nERROR : Error in SSD read configuration.\n");
    return result;
  }
  if (Get8(image->bytes, f::kDlcStateA) == f::kDlcStateEnabled) *dlcEnabled = 1;
  return 0;
}

// Reads the image back after a write that the module answered as done.
// The module must hold the byte it was given, or the erase would not do
// what was asked (or the old setting would not be back): a module may
// answer a write as stored and keep its old image.
uint32_t ReadBackMode(uint32_t vx, uint32_t ssd, SsdConfigImage* image, uint8_t wanted) {
  uint32_t result = ReadSsdConfigImage(vx, ssd, image);
  if (result != 0) {
    ConsolePrint("\nERROR : Error in SSD write configuration.\n");
    return result;
  }
  if (Get8(image->bytes, f::kMediaEraseMode) != wanted) {
    ConsolePrint("\nERROR : Failed to modify the Security Erase behavior\n");
    return 1;
  }
  return 0;
}

}  // namespace

uint32_t SetSsdSecureEraseMode(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image, uint8_t* savedByte,
                               uint32_t mode, uint32_t* dlcEnabled, uint32_t write) {
  uint32_t result = UnlockAndRead(vxHandle, ssdHandle, image, dlcEnabled);
  if (result != 0) return result;
  const uint8_t old = Get8(image->bytes, f::kMediaEraseMode);

  if (write == 0) {
    if (old != f::kEraseExtended) return 0;
    ConsolePrint("\nMedia Erase is set to extended");
    Put8(image->bytes, f::kMediaEraseMode, f::kEraseStandard);
    result = WriteSsdConfigImage(vxHandle, ssdHandle, image);
    ConsolePrint("\nMedia Erase is changed to standard");
    if (result != 0) {
      ConsolePrint("\nERROR : Error in SSD write configuration.\n");
      return result;
    }
    return ReadBackMode(vxHandle, ssdHandle, image, f::kEraseStandard);
  }

  uint8_t wanted = static_cast<uint8_t>(mode);
  if (savedByte != nullptr) {
    *savedByte = old;
    wanted = static_cast<uint8_t>((old & ~f::kEraseModeMask) | (mode & f::kEraseModeMask));
  }
  Put8(image->bytes, f::kMediaEraseMode, wanted);
  result = WriteSsdConfigImage(vxHandle, ssdHandle, image);
  if (result != 0) {
    ConsolePrint("\nERROR : Error in SSD write configuration.\n");
    return result;
  }
  return ReadBackMode(vxHandle, ssdHandle, image, wanted);
}

uint32_t GetSsdDlcState(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image, uint32_t* dlcEnabled) {
  return UnlockAndRead(vxHandle, ssdHandle, image, dlcEnabled);
}
