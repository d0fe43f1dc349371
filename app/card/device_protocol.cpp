#include "app/card/device_protocol.h"

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/shell/console.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/sas_device_page0.h"
#include "ctl/facade/qmx.h"

uint32_t GetDeviceProtocol(uint32_t slot, uint32_t* protocol) {
  if (protocol != nullptr) *protocol = kProtocolSata;
  return 0;
}

uint32_t CheckMixedProtocol(uint32_t vxHandle, uint32_t* protocol) {
  uint32_t reference = 0;
  uint32_t last = 0;
  bool first = true;
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    LibZKGetSSDHandle(vxHandle, slot, &ssd);
    if (ssd == kNoModuleHandle) continue;
    uint32_t result = GetDeviceProtocol(slot, &last);
    if (result != 0) return result;
    if (first) {
      reference = last;
      first = false;
    } else if (last != reference) {
      ConsolePrint("Mixed Protocol devices found! Aborting... \n");
      return 1;
    }
  }
  if (protocol != nullptr) *protocol = last;
  return 0;
}

bool CheckVolumeState(uint32_t vxHandle, bool* volumePresent) {
  LibHandle vx = vxHandle;
  uint32_t volumes = 0;
  if (QmxCountVolumes(&vx, &volumes) != kLibOk) {
    ConsolePrint("ERROR: Corvexium is not in a proper state.\n");
    return false;
  }
  if (volumes == 0) return true;
  if (volumePresent != nullptr) *volumePresent = true;
  bool result = true;
  for (uint32_t index = 0; index < volumes; ++index) {
    AppBuffer held(sizeof(VolumeMemberTable));
    auto* table = held.As<VolumeMemberTable>();
    if (table == nullptr || GetVolumeMemberTable(vxHandle, index, table) != 0) {
      ConsolePrint("\nFailed to get volume information.");
      result = false;
    }
  }
  return result;
}

uint32_t QueryDeviceProtocol(uint16_t devHandle, uint32_t adapter, uint32_t* protocol) {
  using namespace sas_device_page0;
  AppBuffer buffer(kSize);
  uint8_t* page = buffer.get();
  if (page == nullptr) {
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  uint32_t held = 0;
  uint32_t answer = kProtocolSata;
  if (GetCfgPage(adapter, kPageTypeExtended, sas_device_page0::kNumber, kExtPageSasDevice, kSize,
                 kConfigActionReadCurrent, page, kPageAddressForm2 | devHandle, &iocStatus, &iocLogInfo,
                 &held) != 0 &&
      PageHolds(held, kFlags, 4) && (GetLe32(page, kFlags) & sas_device_page0::kFlagDeviceValid) != 0) {
    uint32_t info = GetLe32(page, kDeviceInfo);
    if ((info & kInfoSataDevice) != 0) {
      answer = kProtocolSata;
    } else if ((info & kInfoAtapiDevice) != 0) {
      answer = kProtocolOther;
    } else if ((info & kInfoSspTarget) != 0) {
      answer = kProtocolSas;
    }
  }
  if (protocol != nullptr) *protocol = answer;
  return 0;
}
