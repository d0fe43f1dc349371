// A package's module firmware entry, flashed to every module of the card.
#include "app/card/card_state.h"
#include "app/card/device_protocol.h"
#include "app/card/raid_limits.h"
#include "app/card/slot_naming.h"
#include "app/modules/customer_id.h"
#include "app/modules/module_image_layouts.h"
#include "app/modules/module_protocol.h"
#include "app/package/flash_package.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

// One module: the customer IDs the image carries first (a SATA module),
// the download, the module's own IDs back. True when all of it went in.
bool FlashOneModule(uint32_t adapterIndex, uint32_t vx, uint32_t ssd, uint8_t slot, uint32_t protocol,
                    const uint8_t* image, uint32_t size) {
  if (protocol == kProtocolSas) {
    return DownloadModuleImage(adapterIndex, slot, protocol, image, size, kFirmwareModeDownloadAndSave) == 0;
  }
  uint32_t changed = 0;
  uint32_t previousMain = 0;
  uint32_t previousSub = 0;
  // A module that did not take the image's IDs gets no download.
  if (ModifyCustomerId(vx, ssd, image, size, &changed, &previousMain, &previousSub) != 0) return false;
  bool downloaded =
      DownloadModuleImage(adapterIndex, slot, protocol, image, size, kFirmwareModeDownloadAndSave) == 0;
  bool restored = changed == 0 || RestoreCustomerId(vx, ssd, previousMain, previousSub) == 0;
  return downloaded && restored;
}

}  // namespace

uint32_t FlashPkgSsdFirmware(const uint8_t* image, uint32_t size) {
  uint32_t adapterIndex = SelectedController - 1;
  bool error = false;
  uint32_t vx = 0;
  if (LibZKGetVXHandle(adapterIndex, &vx) != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    error = true;
  }
  CardInfo card;
  MemSet(&card, 0, sizeof card);
  uint32_t status = GetCardInfo(adapterIndex, &card);
  if (status != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return status;
  }
  uint32_t modules = 0;
  if (!error && LibZKCountSSDs(vx, &modules) != 0) {
    ConsolePrint("%s: Failed to get component count.\n", kUtilityTitle);
    error = true;
  }
  LoadIocPage6Limits(card.adapterInfo.adapterHandle);
  bool unconfigured = false;
  uint32_t state = CheckCardState(&unconfigured);
  if (error) return 1;
  if (state == 0) {
    uint32_t expected = unconfigured ? RaidMaxPhysDisks : RaidExpectedMembers;
    if (modules != expected) {
      ConsolePrint(
          "\nWARNING: Component count mismatch. Actual component count = %d and Expected component count = %d.\n",
          static_cast<int>(modules), static_cast<int>(expected));
    }
  }
  if (!SsdFwImageHoldsHeader(size)) return 1;

  ConsolePrint("\t\tFlashing SSD Firmware");
  for (uint8_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = kNoModuleHandle;
    uint32_t lookup = LibZKFindSSDHandle(vx, slot, &ssd);
    if (lookup == kModuleNotThere) continue;
    uint32_t protocol = kProtocolSata;
    if (lookup == kModuleFound && ModuleProtocol(vx, ssd, &protocol) != 0) {
      ConsolePrint("\n%s: Failed getting device information.\n", kUtilityTitle);
      return 1;
    }
    // A module that could not be looked up is not passed over as an empty
    // slot: it did not get the image.
    if (lookup == kModuleFound && FlashOneModule(adapterIndex, vx, ssd, slot, protocol, image, size)) {
      ConsolePrint(".");
    } else {
      ConsolePrint("\n\t\tFailed to update component at \"Cage: %d, Location: %s\".\n",
                   static_cast<int>(SlotToCage(slot)), SlotToLocation(slot));
      error = true;
    }
  }
  ConsolePrint("\n");
  return error ? 1 : 0;
}
