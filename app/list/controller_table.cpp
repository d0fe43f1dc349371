// The controller table and the health of every card: both walk the cards
// the card library discovers, in discovery order, numbered from 1 as the
// user names them after -c.
#include "app/list/controller_table.h"

#include <cstdint>

#include "app/shell/command_operations.h"
#include "app/shell/console.h"
#include "app/health/health_run.h"
#include "app/images/image_transfer.h"
#include "app/images/image_upload.h"
#include "app/list/list_layouts.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/base/byte_order.h"

namespace {

static_assert(kFirmwareHeaderPackageVersion + 4 <= kImageHeadSize);
static_assert(manufacturing_page5::kSasAddressHigh + 4 <= sizeof(CardInfo::mfgPage5));

// The function bits of the PCI location word, taken before the shift.
constexpr uint32_t kPciFunctionBits = 0xFF;

constexpr char kHealthRule[] = "--------------------------------------------------\n";

void PrintFailedInformation() {
  ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
}

// Discovery of every card: false (after "No controllers found.") when the
// library cannot discover.
bool DiscoverCards(uint32_t* count) {
  *count = 0;
  if (LibZKDiscoverAdapters(count) == 0) return true;
  ConsolePrint("\n%s: No controllers found.\n", kUtilityTitle);
  return false;
}

void PrintTableHeading() {
  ConsolePrint("\n%-2s    %-10s    %-15s    %-15s\n", "ID", "Corvexium", "Package Version", "PCI Address");
  ConsolePrint("%-2s    %-10s    %-15s    %-15s\n", "--", "---------", "---------------", "-----------");
}

// The package version of the firmware in the card's flash, from the head of
// the image only: the whole image is not needed for four bytes.
bool ReadPackageVersion(uint32_t adapter, char* text, size_t size) {
  AppBuffer head;
  uint32_t imageSize = kImageHeadSize;
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  if (UploadImageBuffer(adapter, kImageTypeFirmware, &head, &imageSize, 0, &iocStatus, &iocLogInfo) == 0) {
    return false;
  }
  uint32_t version = GetLe32(head.get(), kFirmwareHeaderPackageVersion);
  FormatString(text, size, "%02d.%02d.%02d.%02d", static_cast<int>(version >> 24),
               static_cast<int>((version >> 16) & 0xFF), static_cast<int>((version >> 8) & 0xFF),
               static_cast<int>(version & 0xFF));
  return true;
}

void PrintTableRow(uint32_t number, const CardInfo& info, const char* packageVersion) {
  uint32_t location = info.adapterInfo.pciLocation;
  // The board name fills its 16 bytes without a terminator when it is long.
  char name[sizeof info.boardName + 1];
  PrintableString(name, info.boardName, sizeof info.boardName);
  ConsolePrint("%-2d    %-15.16s    %-15s    %02x:%02x:%02x:%02x\n", static_cast<int>(number), name,
               packageVersion, info.adapterInfo.pciSegment, location >> pci_location::kBusShift, location & pci_location::kDeviceMask,
               (location & kPciFunctionBits) >> pci_location::kFunctionShift);
}

void PrintHealthHeader(uint32_t number, const CardInfo& info) {
  uint32_t low = GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressLow);
  uint32_t high = GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressHigh);
  ConsolePrint("\n%s", kHealthRule);
  // As in the table, the name is read no further than its 16 bytes.
  char name[sizeof info.boardName + 1];
  PrintableString(name, info.boardName, sizeof info.boardName);
  ConsolePrint("%-10.16s ID = %-2d SAS Address = %07X %01X%08X\n", name, static_cast<int>(number),
               high >> 4, high & 0xF, low);
  ConsolePrint("%s\n", kHealthRule);
}

}  // namespace

int ListAll() {
  uint32_t count = 0;
  if (!DiscoverCards(&count)) return 1;
  PrintTableHeading();
  for (uint32_t index = 0; index < count; ++index) {
    CardInfo info = {};
    char packageVersion[16] = {};
    if (GetCardInfo(index, &info) != 0 ||
        !ReadPackageVersion(info.adapterInfo.adapterHandle, packageVersion, sizeof packageVersion)) {
      PrintFailedInformation();
      return 1;
    }
    PrintTableRow(index + 1, info, packageVersion);
  }
  return 0;
}

int HealthAll() {
  uint32_t count = 0;
  if (!DiscoverCards(&count)) return 1;
  // Every card runs with the same options: text, no raw rows, SMART not
  // forced. The health command takes the record it is handed, so
  // each card gets a copy of its own and this one stays ours.
  const HealthOptions options = {};
  int result = 0;
  for (uint32_t index = 0; index < count; ++index) {
    CardInfo info = {};
    if (GetCardInfo(index, &info) != 0) {
      PrintFailedInformation();
      return 1;
    }
    SelectedController = index + 1;
    PrintHealthHeader(index + 1, info);
    CommandContext context;
    auto* copy = NewParams<HealthOptions>(&context);
    if (copy == nullptr) {
      ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
      return 1;
    }
    *copy = options;
    result = HealthCommandExec(&context);
  }
  return result;
}
