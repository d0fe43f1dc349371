// The module's format settings (SCT actions 0xC60C read, 0xC60B write).
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/modules/module_commands.h"
#include "ctl/base/byte_order.h"

uint32_t SSDChangeSectorSize(uint32_t vxHandle, uint32_t ssdHandle, uint32_t mode, void* buffer, uint32_t length,
                             uint32_t value) {
  if (buffer == nullptr) return 1;
  uint8_t sector[sct_sector::kSize] = {};
  if (mode == kSsdTransferRead) {
    PutLe16(sector, sct_sector::kAction, sct_action::kFormatSettingsRead);
    if (SctSendCommand(vxHandle, ssdHandle, sector, sizeof(sector)) != 0) return 1;
    return SctReadData(vxHandle, ssdHandle, buffer, length);
  }
  if (mode != kSsdTransferWrite) return 1;
  PutLe16(sector, sct_sector::kAction, sct_action::kFormatSettingsWrite);
  PutLe16(sector, sct_sector::kFunction, sct_format_settings::kFunction);
  Put8(sector, sct_format_settings::kSelector, sct_format_settings::kSelectorValue);
  Put8(sector, sct_format_settings::kApply, sct_format_settings::kApplyValue);
  PutLe32(sector, sct_format_settings::kValue, value);
  if (SctSendCommand(vxHandle, ssdHandle, sector, sizeof(sector)) != 0) return 1;
  return SctWriteData(vxHandle, ssdHandle, buffer, length);
}
