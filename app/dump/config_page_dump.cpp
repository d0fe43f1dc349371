#include "app/dump/config_page_dump.h"

#include <string>

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/dump/hex_block.h"
#include "app/shell/app_buffer.h"
#include "app/shell/console.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint8_t kCurrent = kConfigActionReadCurrent;
constexpr uint8_t kNvram = kConfigActionReadNvram;

// The title of a fixed page: by page type, or by extended type.
std::string FixedTitle(uint8_t pageType, uint8_t pageNumber, uint8_t extType) {
  const char* format = "Page%d";
  if (pageType == kPageTypeExtended) {
    switch (extType) {
      case kExtPageSasIoUnit: format = "SASIOUnitPage%d"; break;
      case kExtPageLog: format = "ControllerLogPage%d"; break;
      case kExtPageEthernet: format = "EthernetPage%d"; break;
      default: break;
    }
  } else {
    switch (pageType) {
      case kPageTypeIoUnit: format = "IOUnitPage%d"; break;
      case kPageTypeIoc: format = "IOCPage%d"; break;
      case kPageTypeBios: format = "BIOSPage%d"; break;
      case kPageTypeManufacturing: format = "ManufacturingPage%d"; break;
      default: break;
    }
  }
  char title[64] = {};
  FormatString(title, sizeof title, format, pageNumber);
  return title;
}

void Note(const PageDumpTarget& target, const char* text) { DumpText(target.file, text); }

struct FixedPage {
  uint8_t number;
  uint8_t action;
  const char* noteAfter;  // written after the page, or null
};

template <size_t N>
uint32_t DumpFixedFamily(const PageDumpTarget& target, uint8_t pageType, uint8_t extType, const FixedPage (&pages)[N]) {
  for (const FixedPage& page : pages) {
    DumpConfigPage(target, pageType, page.number, extType, page.action, 0);
    if (page.noteAfter != nullptr) Note(target, page.noteAfter);
  }
  return 1;
}

}  // namespace

bool DumpConfigPageHex(uint32_t file, const char* title, const uint8_t* page, uint32_t size) {
  uint32_t announced = 0;
  if (size >= page_header::kSize) {
    bool extended = (Get8(page, page_header::kType) & kPageTypeMask) == kPageTypeExtended;
    if (!extended) {
      announced = 4u * Get8(page, page_header::kLength);
    } else if (size >= page_header::kExtSize) {
      announced = 4u * GetLe16(page, page_header::kExtLength);
    }
  }
  return DumpHexBlock(file, page, ClampHexLength(announced, size), title);
}

uint32_t DumpConfigPage(const PageDumpTarget& target, uint8_t pageType, uint8_t pageNumber, uint8_t extType,
                        uint8_t action, uint32_t pageAddress) {
  std::string title = FixedTitle(pageType, pageNumber, extType);
  uint16_t length = 0;
  if (GetCfgPageHeader(target.adapter, pageType, pageNumber, extType, pageAddress, &length, target.iocStatus,
                       target.iocLogInfo) != 1) {
    return 1;  // the controller does not have the page
  }
  AppBuffer page(length);
  if (length == 0 || !page) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 0;
  }
  uint32_t got = 0;
  if (GetCfgPage(target.adapter, pageType, pageNumber, extType, length, action, page.get(), pageAddress,
                 target.iocStatus, target.iocLogInfo, &got) != 1) {
    char note[160] = {};
    FormatString(note, sizeof note, "\n%s: Failed to dump %s \n", kUtilityTitle, title.c_str());
    Note(target, note);
    return 0;
  }
  DumpConfigPageHex(target.file, title.c_str(), page.get(), got);
  return 1;
}

uint32_t DumpManufacturingPages(const PageDumpTarget& target) {
  constexpr uint8_t kLastPage = 31;
  for (uint8_t number = 0; number <= kLastPage; ++number) {
    DumpConfigPage(target, kPageTypeManufacturing, number, 0, kNvram, 0);
  }
  return 1;
}

uint32_t DumpIoUnitPages(const PageDumpTarget& target) {
  static const FixedPage kPages[] = {
      {0, kCurrent, nullptr},
      {1, kCurrent, "\nIO Unit Page 2 is obsolete \n"},
      {3, kCurrent, "\nIO Unit Page 4 is obsolete \n"},
      {5, kNvram, nullptr},
      {6, kCurrent, nullptr},
      {7, kCurrent, nullptr},
  };
  return DumpFixedFamily(target, kPageTypeIoUnit, 0, kPages);
}

uint32_t DumpIocPages(const PageDumpTarget& target) {
  static const FixedPage kPages[] = {
      {0, kCurrent, nullptr},
      {1, kCurrent,
       "\nIOC Page 2 is obsolete \n\nIOC Page 3 is obsolete \n\nIOC Page 4 is obsolete \n\nIOC Page 5 is obsolete \n"},
      {6, kCurrent, nullptr},
      {7, kCurrent, nullptr},
      {8, kCurrent, nullptr},
  };
  return DumpFixedFamily(target, kPageTypeIoc, 0, kPages);
}

uint32_t DumpBiosPages(const PageDumpTarget& target) {
  Note(target, "\nBIOS Page 0 is obsolete \n");
  static const FixedPage kPages[] = {
      {1, kNvram, nullptr}, {2, kNvram, nullptr}, {3, kNvram, nullptr}, {4, kNvram, nullptr},
  };
  return DumpFixedFamily(target, kPageTypeBios, 0, kPages);
}

uint32_t DumpEthernetPages(const PageDumpTarget& target) {
  static const FixedPage kPages[] = {{0, kCurrent, nullptr}, {1, kCurrent, nullptr}};
  return DumpFixedFamily(target, kPageTypeExtended, kExtPageEthernet, kPages);
}

uint32_t DumpSasIoUnitPages(const PageDumpTarget& target) {
  static const FixedPage kPages[] = {
      {0, kCurrent, nullptr},
      {1, kNvram, "\nSASIOUnit Page 2 is obsolete \n\nSASIOUnit Page 3 is obsolete \n"},
      {4, kNvram, nullptr},
      {5, kNvram, nullptr},
  };
  return DumpFixedFamily(target, kPageTypeExtended, kExtPageSasIoUnit, kPages);
}

uint32_t DumpControllerLogPages(const PageDumpTarget& target) {
  static const FixedPage kPages[] = {{0, kCurrent, nullptr}};
  return DumpFixedFamily(target, kPageTypeExtended, kExtPageLog, kPages);
}

void DumpAllConfigPages(const PageDumpTarget& target, bool integratedRaid) {
  DumpManufacturingPages(target);
  DumpIoUnitPages(target);
  DumpIocPages(target);
  DumpBiosPages(target);
  if (integratedRaid) {
    DumpRaidVolumePages(target);
    DumpRaidPhysDiskPages(target);
    DumpRaidConfigPages(target);
  }
  DumpEthernetPages(target);
  DumpSasIoUnitPages(target);
  DumpSasExpanderPages(target);
  DumpSasPortPages(target);
  DumpSasDevicePages(target);
  DumpSasPhyPages(target);
  DumpSasEnclosurePages(target);
  DumpControllerLogPages(target);
  DumpDriverMappingPage(target);
}
