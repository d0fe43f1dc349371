#include "app/modules/customer_id.h"

#include "app/modules/module_image_layouts.h"
#include "app/shell/console.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "module_unlock_constants.h"

namespace {

constexpr uint8_t kUnlockLevel = 1;

// The module's configuration image in a buffer of its own.
struct HeldConfigImage {
  AppBuffer buffer{sizeof(SsdConfigImage)};
  SsdConfigImage* image = buffer.As<SsdConfigImage>();
};

// Unlocks the module and reads its configuration image; each failure
// prints its line and answers its status.
uint32_t UnlockAndRead(uint32_t vx, uint32_t ssd, HeldConfigImage* held) {
  if (held->image == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  uint32_t status = LibZKSSDUnlock(vx, ssd, kUnlockLevel, kModuleUnlockCredential);
  if (status != 0) {
    ConsolePrint("\nERROR : Error in LibZKSSDUnlock.\n");
    return status;
  }
  status = ReadSsdConfigImage(vx, ssd, held->image);
  if (status != 0) ConsolePrint("\nERROR : Error in SSD read configuration.\n");
  return status;
}

uint32_t MainId(const SsdConfigImage* image) { return GetLe32(image->bytes, ssd_config_image::kMainCustomerId); }
uint32_t SubId(const SsdConfigImage* image) { return GetLe32(image->bytes, ssd_config_image::kSubCustomerId); }

void PutIds(SsdConfigImage* image, uint32_t mainId, uint32_t subId) {
  PutLe32(image->bytes, ssd_config_image::kMainCustomerId, mainId);
  PutLe32(image->bytes, ssd_config_image::kSubCustomerId, subId);
}

bool AsksForCustomerIds(uint32_t mainId) {
  for (uint32_t trigger : kCustomerIdTriggers) {
    if (mainId == trigger) return true;
  }
  return false;
}

}  // namespace

uint32_t ModifyCustomerId(uint32_t vxHandle, uint32_t ssdHandle, const uint8_t* image, uint32_t imageSize,
                          uint32_t* changed, uint32_t* previousMain, uint32_t* previousSub) {
  if (image == nullptr || !SsdFwImageHoldsHeader(imageSize)) return 1;
  HeldConfigImage held;
  uint32_t status = UnlockAndRead(vxHandle, ssdHandle, &held);
  if (status != 0) return status;
  *previousMain = MainId(held.image);
  *previousSub = SubId(held.image);

  uint32_t wantedMain = GetLe32(image, ssd_fw_image::kMainCustomerId);
  uint32_t wantedSub = GetLe32(image, ssd_fw_image::kSubCustomerId);
  if (!AsksForCustomerIds(wantedMain) || (*previousMain == wantedMain && *previousSub == wantedSub)) return 0;

  PutIds(held.image, wantedMain, wantedSub);
  if (WriteSsdConfigImage(vxHandle, ssdHandle, held.image) != 0) {
    ConsolePrint(
        "\nERROR : Error in SSD write configuration. Trying to restore original main & sub customer ID... \n");
    uint32_t restored = RestoreCustomerId(vxHandle, ssdHandle, *previousMain, *previousSub);
    if (restored != 0) {
      ConsolePrint("\nERROR : Failed to restore original main and sub customer ID.\n");
      return restored;
    }
    ConsolePrint("\n%s: Restored original main and sub customer ID successfully. \n", kUtilityTitle);
    // The module kept its own IDs: the image must not go to it.
    return 1;
  }
  status = ReadSsdConfigImage(vxHandle, ssdHandle, held.image);
  if (status != 0) {
    ConsolePrint("\nERROR : Error in SSD write configuration.\n");
    return status;
  }
  if (MainId(held.image) != wantedMain || SubId(held.image) != wantedSub) {
    ConsolePrint("\nERROR : Failed to modify the Main & Sub Customer ID \n");
    return 1;
  }
  *changed = 1;
  return 0;
}

uint32_t RestoreCustomerId(uint32_t vxHandle, uint32_t ssdHandle, uint32_t mainId, uint32_t subId) {
  HeldConfigImage held;
  uint32_t status = UnlockAndRead(vxHandle, ssdHandle, &held);
  if (status != 0) return status;
  PutIds(held.image, mainId, subId);
  status = WriteSsdConfigImage(vxHandle, ssdHandle, held.image);
  if (status == 0) status = ReadSsdConfigImage(vxHandle, ssdHandle, held.image);
  if (status != 0) {
    ConsolePrint("\nERROR : Failed to restore Main and Sub Customer Id.\n");
    return status;
  }
  if (MainId(held.image) != mainId || SubId(held.image) != subId) {
    ConsolePrint("\nERROR : Failed to restore Main and Sub Customer Id. \n");
    return 1;
  }
  return 0;
}
