#include "app/dlc/dlc_image.h"

#include "app/card/ssd_config_fields.h"
#include "app/shell/console.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "cardlib/unlock/module_unlock.h"
#include "ctl/base/byte_order.h"
#include "module_unlock_constants.h"

namespace {

namespace f = ssd_config;
namespace fs = ssd_format_settings;

constexpr uint8_t kUnlockLevel = 1;

bool DlcGroupEqual(const DlcFieldValues& a, const DlcFieldValues& b) {
  return a.stateA == b.stateA && a.stateB == b.stateB && a.control == b.control;
}

bool MaxLbaGroupEqual(const DlcFieldValues& a, const DlcFieldValues& b) {
  return a.sectorSize == b.sectorSize && a.flagA == b.flagA && a.flagB == b.flagB && a.maxLba == b.maxLba;
}

void PutDlcFields(SsdConfigImage* image, const DlcFieldValues& v) {
  Put8(image->bytes, f::kDlcStateA, v.stateA);
  Put8(image->bytes, f::kDlcStateB, v.stateB);
  PutLe16(image->bytes, f::kDlcControl, v.control);
  PutLe16(image->bytes, f::kSectorSize, v.sectorSize);
  Put8(image->bytes, f::kMaxLbaFlagA, v.flagA);
  Put8(image->bytes, f::kMaxLbaFlagB, v.flagB);
  PutLe32(image->bytes, f::kMaxLbaValue, v.maxLba);
}

}  // namespace

DlcFieldValues ReadDlcFields(const SsdConfigImage& image) {
  DlcFieldValues v{};
  v.stateA = Get8(image.bytes, f::kDlcStateA);
  v.stateB = Get8(image.bytes, f::kDlcStateB);
  v.control = GetLe16(image.bytes, f::kDlcControl);
  v.sectorSize = GetLe16(image.bytes, f::kSectorSize);
  v.flagA = Get8(image.bytes, f::kMaxLbaFlagA);
  v.flagB = Get8(image.bytes, f::kMaxLbaFlagB);
  v.maxLba = GetLe32(image.bytes, f::kMaxLbaValue);
  return v;
}

DlcFieldValues DlcTargetFields(uint8_t enable, uint32_t maxLba) {
  DlcFieldValues v{};
  v.stateA = v.stateB = enable != 0 ? f::kDlcStateEnabled : f::kDlcStateDisabled;
  v.control = f::kDlcControlValue;
  v.sectorSize = f::kSectorSizeValue;
  v.flagA = f::kMaxLbaFlagAValue;
  v.flagB = f::kMaxLbaFlagBValue;
  v.maxLba = maxLba;
  return v;
}

uint32_t ModifyDlcSetting(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image, uint8_t enable,
                          DlcFieldValues* saved, uint32_t* errorCode, uint32_t maxLba) {
  const DlcFieldValues current = ReadDlcFields(*image);
  *saved = current;
  const DlcFieldValues target = DlcTargetFields(enable, maxLba);
  if (DlcGroupEqual(current, target) && MaxLbaGroupEqual(current, target)) return 0;
  PutDlcFields(image, target);

  if (WriteSsdConfigImage(vxHandle, ssdHandle, image) != 0) {
    ConsolePrint(
        "\nERROR : Error in SSD write configuration. Trying to restore original Max LBA and DLC settings... \n");
    *errorCode = kDlcMaxLbaError;
    uint32_t restored = RestoreDLCSetting(vxHandle, ssdHandle, image, current);
    if (restored == 0) {
      ConsolePrint("\n%s: Restored Max LBA and DLC setting successfully. \n", kUtilityTitle);
    } else {
      ConsolePrint("\nERROR : Failed to restore Max LBA/DLC setting. CDU corrupt.\n");
    }
    // The module keeps its old settings at best: the change itself failed.
    return 1;
  }
  if (ReadSsdConfigImage(vxHandle, ssdHandle, image) != 0) {
    ConsolePrint("\nERROR : Error in SSD write configuration.\n");
    return 1;
  }
  const DlcFieldValues now = ReadDlcFields(*image);
  if (!DlcGroupEqual(now, target)) {
    ConsolePrint("\nERROR : Failed to modify DLC setting. \n");
    return 1;
  }
  if (!MaxLbaGroupEqual(now, target)) {
    *errorCode = kDlcMaxLbaError;
    ConsolePrint("\nERROR : Failed to modify Max LBA setting \n");
    return 1;
  }
  return 0;
}

uint32_t RestoreDLCSetting(uint32_t vxHandle, uint32_t ssdHandle, SsdConfigImage* image,
                           const DlcFieldValues& saved) {
  PutDlcFields(image, saved);
  if (WriteSsdConfigImage(vxHandle, ssdHandle, image) != 0) {
    ConsolePrint("\nERROR : Failed to write Max LBA/DLC setting. CDU corrupt.\n");
    return 1;
  }
  if (ReadSsdConfigImage(vxHandle, ssdHandle, image) != 0) {
    ConsolePrint("\nERROR : Failed to read Max LBA/DLC settings.\n");
    return 1;
  }
  const DlcFieldValues now = ReadDlcFields(*image);
  if (!MaxLbaGroupEqual(now, saved)) {
    ConsolePrint("\nERROR : Failed to restore Max LBA settings. \n");
    return 1;
  }
  if (!DlcGroupEqual(now, saved)) {
    ConsolePrint("\nERROR : Failed to restore DLC setting. \n");
    return 1;
  }
  ConsolePrint("\nRestoreDLCSetting: restoredDLCCtrlVal: 0x%X.\n", static_cast<unsigned>(now.stateA));
  return 0;
}

uint32_t ChangeSectorSize(uint32_t vxHandle, uint32_t ssdHandle, uint32_t maxLba, uint8_t* original,
                          bool* originalRead) {
  if (originalRead != nullptr) *originalRead = false;
  AppBuffer settingsBuffer(fs::kReadSize);
  uint8_t* settings = settingsBuffer.get();
  if (settings == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  uint32_t result = LibZKSSDUnlock(vxHandle, ssdHandle, kUnlockLevel, kModuleUnlockCredential);
  if (result != 0) {
    ConsolePrint("\nERROR : Error in LibZKSSDUnlock.\n");
    return result;
  }
  result = SSDChangeSectorSize(vxHandle, ssdHandle, kSsdTransferRead, settings, fs::kReadSize, 0);
  if (result != 0) {
    ConsolePrint("\nERROR : Error in SSD read configuration.\n");
    return result;
  }
  if (original != nullptr) {
    MemCopy(original, settings, fs::kReadSize);
    if (originalRead != nullptr) *originalRead = true;
  }
  PutLe16(settings, fs::kSectorSize, f::kSectorSizeValue);
  PutLe16(settings, fs::kCleared16a, 0);
  PutLe16(settings, fs::kCleared16b, 0);
  MemSet(settings + fs::kClearedBlock, 0, fs::kClearedBlockSize);
  Put8(settings, fs::kByte26, 0);
  Put8(settings, fs::kByte27, 1);
  MemSet(settings + fs::kClearedTail, 0, fs::kClearedTailSize);
  PutLe32(settings, fs::kMaxLbaValue, maxLba);
  result = SSDChangeSectorSize(vxHandle, ssdHandle, kSsdTransferWrite, settings, fs::kWriteSize, maxLba);
  if (result != 0) ConsolePrint("\nERROR : Error in executing change sector size. \n");
  return result;
}

uint32_t RestoreFormatSettings(uint32_t vxHandle, uint32_t ssdHandle, const uint8_t* original) {
  uint32_t result = LibZKSSDUnlock(vxHandle, ssdHandle, kUnlockLevel, kModuleUnlockCredential);
  if (result != 0) {
    ConsolePrint("\nERROR : Error in LibZKSSDUnlock.\n");
    return result;
  }
  AppBuffer settingsBuffer(fs::kReadSize);
  uint8_t* settings = settingsBuffer.get();
  if (settings == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  MemCopy(settings, original, fs::kReadSize);
  result = SSDChangeSectorSize(vxHandle, ssdHandle, kSsdTransferWrite, settings, fs::kWriteSize,
                               GetLe32(original, fs::kMaxLbaValue));
  if (result != 0) ConsolePrint("\nERROR : Error in executing change sector size. \n");
  return result;
}
