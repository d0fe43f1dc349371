#include "app/flash/flash_controller_image.h"

#include "app/card/board_type.h"
#include "app/flash/config_erase.h"
#include "app/images/bios_image_check.h"
#include "app/images/fw_image_checks.h"
#include "app/images/image_download.h"
#include "app/images/option_rom_layout.h"
#include "app/images/rom_image_version.h"
#include "app/shell/console.h"
#include "app/shell/program_state.h"
#include "cardlib/libzk.h"
#include "cardlib/modules/module_handles.h"

namespace {

uint32_t FlashFirmware(uint32_t vxHandle, const uint8_t* image, uint32_t size, uint32_t eraseConfig,
                       uint32_t reserved) {
  ConsolePrint("\n\t\tHBA Firmware Download...\n\n");
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  if (PackageModeFlag == 0 &&
      !ValidateFwImage(image, size, vxHandle, &iocStatus, &iocLogInfo, eraseConfig, 0)) {
    return 1;
  }
  if (eraseConfig != 0 || reserved == 1) return EraseConfigAndFlash(image, size, reserved);
  ConsolePrint("\t\tBeginning Firmware Download...\n\n");
  if (!DownloadFwImage(vxHandle, image, size, &iocStatus, &iocLogInfo)) {
    ConsolePrint("\t\tFlash Firmware Image Failed!\n\n");
    return 1;
  }
  ConsolePrint("\t\tFlash Firmware Image Successful.\n\n");
  return 0;
}

uint32_t FlashBios(uint32_t vxHandle, uint8_t* image, uint32_t size) {
  if (GetRomImageVersion(vxHandle, image, size, option_rom::kCodeTypeLegacy) != kNoRomVersion) {
    ConsolePrint("\n\n\t\tHBA Legacy BIOS Download...\n");
  } else if (GetRomImageVersion(vxHandle, image, size, option_rom::kCodeTypeUefi) != kNoRomVersion) {
    ConsolePrint("\n\n\t\tHBA UEFI BSD Download...\n");
  }
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  if (PackageModeFlag == 0 && !ValidateBiosImage(image, size, vxHandle, &iocStatus, &iocLogInfo)) return 1;
  ConsolePrint("\t\tAttempting to Flash BIOS Image...\n\n");
  if (!DownloadBiosImage(image, vxHandle, size, &iocStatus, &iocLogInfo)) {
    ConsolePrint("\t\tFlash BIOS Image Failed!\n\n");
    return 1;
  }
  ConsolePrint("\t\tFlash BIOS Image Successful.\n\n");
  return 0;
}

}  // namespace

uint32_t FlashControllerImage(uint32_t adapterIndex, uint8_t mode, uint8_t* image, uint32_t size,
                              uint32_t eraseConfig, uint32_t reserved) {
  if (mode != kFlashModeFirmware && mode != kFlashModeBios) return 1;
  CardInfo info{};
  if (GetCardInfo(adapterIndex, &info) != 0) return 1;
  if (GetBoardType(adapterIndex) == 0) {
    ConsolePrint("\n\n Invalid Board Type \n\n");
    return 1;
  }
  uint32_t vxHandle = 0;
  if (LibZKGetVXHandle(adapterIndex, &vxHandle) != 0) return 1;
  if (mode == kFlashModeFirmware) return FlashFirmware(vxHandle, image, size, eraseConfig, reserved);
  return FlashBios(vxHandle, image, size);
}
