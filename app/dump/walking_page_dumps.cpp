// The walking families of the page dump: each page names the instance that
// follows it, and the walk goes on until a read fails. A walk also ends at a
// page that names an instance not beyond the last one (already given, or 0)
// or outside the controller's range: a controller that answers in a circle
// would otherwise never let the dump end.
#include <string>
#include <vector>

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/dump/config_page_dump.h"
#include "app/dump/hex_block.h"
#include "app/shell/app_buffer.h"
#include "app/shell/console.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/pages/sas_device_page0.h"

namespace {

constexpr uint8_t kCurrent = kConfigActionReadCurrent;
constexpr uint8_t kNvram = kConfigActionReadNvram;
constexpr uint8_t kExt = kPageTypeExtended;

// Page addresses: the walks' first address and the forms that name one instance.
constexpr uint32_t kFirstHandle = 0xFFFF;
constexpr uint32_t kFirstDiskNumber = 0xFF;
constexpr uint32_t kFirstPort = 0xFFF;
constexpr uint32_t kFormByNumber = 0x10000000;
constexpr uint32_t kFormByHandle = 0x20000000;
constexpr uint32_t kFormMappingEntry = 0x00010000;
constexpr uint32_t kPhyCount = 256;

// Fields the walks take the next address (and the titles) from, beside
// those of the library's page layouts.
constexpr size_t kRaidDiskPage1Number = 5;     // u8, RAID physical disk page 1
constexpr size_t kRaidConfigNumber = 11;       // u8, RAID configuration page 0
constexpr size_t kExpanderHandle = 24;         // u16, SAS expander page 0
constexpr size_t kExpanderPhys = 32;           // u8, SAS expander page 0
constexpr size_t kPortNumber = 8;              // u8, SAS port page 0
constexpr size_t kEnclosureHandle = 22;        // u16, SAS enclosure page 0
constexpr size_t kMappingIdentifier = 8;       // 8 bytes, driver mapping page 0
constexpr size_t kMappingIdentifierSize = 8;
constexpr size_t kIocPage8MaxEntries = 8;      // u16, IOC page 8 (NVRAM)

// Fixed read sizes.
constexpr uint32_t kMappingPageSize = 28;
constexpr uint32_t kIocPage8Size = 24;
constexpr uint8_t kIocPage8Number = 8;

void SayNoMemory() { ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle); }

// One kind of page of a walking family.
struct PageKind {
  uint8_t type;
  uint8_t number;
  uint8_t extType;
  uint8_t action;
};

// The size of the page kind (a query at page address 0). 0 after the
// memory message when the query fails or answers 0.
uint32_t KindSize(const PageDumpTarget& t, const PageKind& kind, bool quietWhenAbsent = false,
                  uint32_t address = 0) {
  uint16_t length = 0;
  if (GetCfgPageHeader(t.adapter, kind.type, kind.number, kind.extType, address, &length, t.iocStatus,
                       t.iocLogInfo) != 1) {
    if (!quietWhenAbsent) SayNoMemory();
    return 0;
  }
  if (length == 0) SayNoMemory();
  return length;
}

// A page of the kind read at the address: `readSize` bytes into a buffer of
// at least that many (and of the queried size). False when the read fails.
bool ReadPage(const PageDumpTarget& t, const PageKind& kind, uint32_t size, uint32_t readSize, uint32_t address,
              AppBuffer* page, uint32_t* got) {
  uint32_t room = size > readSize ? size : readSize;
  if (!*page || page->size() < room) {
    *page = AppBuffer(room);
    if (!*page) {
      SayNoMemory();
      return false;
    }
  }
  MemSet(page->get(), 0, page->size());
  return GetCfgPage(t.adapter, kind.type, kind.number, kind.extType, readSize, kind.action, page->get(), address,
                    t.iocStatus, t.iocLogInfo, got) == 1;
}

std::string Title(const char* format, uint32_t value) {
  char title[64] = {};
  FormatString(title, sizeof title, format, value);
  return title;
}

std::string Title(const char* format, uint32_t first, uint32_t second) {
  char title[64] = {};
  FormatString(title, sizeof title, format, first, second);
  return title;
}

uint32_t Field(const AppBuffer& page, uint32_t got, size_t offset, size_t width) {
  if (offset + width > got) return 0xFFFFFFFF;
  return width == 1 ? Get8(page.get(), offset) : GetLe16(page.get(), offset);
}

// The instances a walk takes: DevHandles up to the controller's highest,
// enclosure handles, or one-byte numbers.
HandleWalk DevHandleWalk(const PageDumpTarget& t, uint32_t first) {
  return HandleWalk(first, kLowestDevHandle, t.maxDevHandle);
}
HandleWalk EnclosureWalk(uint32_t first) { return HandleWalk(first, kLowestDevHandle, kHighestDevHandle); }
HandleWalk NumberWalk(uint32_t first) { return HandleWalk(first, kLowestNumber, kHighestNumber); }

// Walks the kind, each page giving the next address in its field; every page
// is written under its title (formatted with the field) and the fields are
// handed back in order.
std::vector<uint32_t> Walk(const PageDumpTarget& t, const PageKind& kind, HandleWalk walk, size_t field,
                           size_t width, const char* titleFormat, uint32_t readSize = 0) {
  std::vector<uint32_t> found;
  uint32_t size = KindSize(t, kind);
  if (size == 0) return found;
  AppBuffer page;
  for (;;) {
    uint32_t got = 0;
    if (!ReadPage(t, kind, size, readSize != 0 ? readSize : size, walk.cursor(), &page, &got)) break;
    uint32_t next = Field(page, got, field, width);
    if (next == 0xFFFFFFFF || !walk.Take(next)) break;
    DumpConfigPageHex(t.file, Title(titleFormat, next).c_str(), page.get(), got);
    found.push_back(next);
  }
  return found;
}

// One page of the kind for each instance found, at the address the form gives.
void EachInstance(const PageDumpTarget& t, const PageKind& kind, const std::vector<uint32_t>& instances,
                  uint32_t form, const char* titleFormat) {
  if (instances.empty()) return;
  uint32_t size = KindSize(t, kind);
  if (size == 0) return;
  AppBuffer page;
  for (uint32_t instance : instances) {
    uint32_t got = 0;
    if (!ReadPage(t, kind, size, size, form + instance, &page, &got)) continue;
    DumpConfigPageHex(t.file, Title(titleFormat, instance).c_str(), page.get(), got);
  }
}

}  // namespace

uint32_t DumpRaidVolumePages(const PageDumpTarget& t) {
  std::vector<uint32_t> volumes = Walk(t, {kPageTypeRaidVolume, 0, 0, kCurrent}, DevHandleWalk(t, kFirstHandle),
                                       raid_volume_page0::kDevHandle, 2, "RAIDVolumePage0 / %04x");
  EachInstance(t, {kPageTypeRaidVolume, 1, 0, kCurrent}, volumes, kFormByNumber, "RAIDVolumePage1 / %04x");
  return 1;
}

uint32_t DumpRaidPhysDiskPages(const PageDumpTarget& t) {
  Walk(t, {kPageTypeRaidPhysDisk, 0, 0, kCurrent}, NumberWalk(kFirstDiskNumber), raid_phys_disk_page0::kDiskNumber, 1,
       "RAIDPhysicalDiskPage0 / %04x");
  PageKind page1 = {kPageTypeRaidPhysDisk, 1, 0, kCurrent};
  uint32_t size = KindSize(t, page1);
  if (size == 0) return 1;
  AppBuffer page;
  constexpr uint32_t kMostDisks = 256;
  for (uint32_t i = 0; i < kMostDisks; ++i) {
    uint32_t got = 0;
    if (!ReadPage(t, page1, size, raid_phys_disk_page1::kReadSize, kFormByNumber + i, &page, &got)) break;
    uint32_t number = Field(page, got, kRaidDiskPage1Number, 1);
    DumpConfigPageHex(t.file, Title("RAIDPhysicalDiskPage1 / %04x", number == 0xFFFFFFFF ? 0 : number).c_str(),
                      page.get(), got);
  }
  return 1;
}

uint32_t DumpRaidConfigPages(const PageDumpTarget& t) {
  Walk(t, {kExt, 0, kExtPageRaidConfig, kCurrent}, NumberWalk(kFirstHandle), kRaidConfigNumber, 1,
       "RAIDCofigurationPage0/ %04x");
  return 1;
}

uint32_t DumpSasExpanderPages(const PageDumpTarget& t) {
  PageKind page0 = {kExt, 0, kExtPageSasExpander, kNvram};
  uint32_t size = KindSize(t, page0);
  if (size == 0) return 1;
  AppBuffer page;
  HandleWalk walk = DevHandleWalk(t, kFirstHandle);
  std::vector<std::pair<uint32_t, uint32_t>> expanders;  // handle, phys
  for (;;) {
    uint32_t got = 0;
    if (!ReadPage(t, page0, size, size, walk.cursor(), &page, &got)) break;
    uint32_t handle = Field(page, got, kExpanderHandle, 2);
    if (handle == 0xFFFFFFFF || !walk.Take(handle)) break;
    DumpConfigPageHex(t.file, Title("SASExpanderPage0 / %04x", handle).c_str(), page.get(), got);
    uint32_t phys = Field(page, got, kExpanderPhys, 1);
    expanders.push_back({handle, phys == 0xFFFFFFFF ? 0 : phys});
  }
  if (expanders.empty()) return 1;
  PageKind page1 = {kExt, 1, kExtPageSasExpander, kNvram};
  uint32_t size1 = KindSize(t, page1);
  if (size1 == 0) return 1;
  for (const auto& [handle, phys] : expanders) {
    for (uint32_t phy = 0; phy < phys; ++phy) {
      uint32_t got = 0;
      if (!ReadPage(t, page1, size1, size1, handle, &page, &got)) break;
      DumpConfigPageHex(t.file, Title("SASExpanderPage1 / %04x / %d", handle, phy).c_str(), page.get(), got);
    }
  }
  return 1;
}

uint32_t DumpSasPortPages(const PageDumpTarget& t) {
  Walk(t, {kExt, 0, kExtPageSasPort, kCurrent}, NumberWalk(kFirstPort), kPortNumber, 1, "SASPortPage0 / %02x");
  return 1;
}

uint32_t DumpSasDevicePages(const PageDumpTarget& t) {
  std::vector<uint32_t> devices = Walk(t, {kExt, 0, kExtPageSasDevice, kCurrent}, DevHandleWalk(t, kFirstHandle),
                                       sas_device_page0::kDevHandle, 2, "\nSASDevicePage0 / %04x");
  EachInstance(t, {kExt, 1, kExtPageSasDevice, kCurrent}, devices, kFormByHandle, "\nSASDevicePage1 / %04x");
  DumpText(t.file, "\nSASDevice Page 2 is obsolete \n");
  return 1;
}

uint32_t DumpSasPhyPages(const PageDumpTarget& t) {
  static const char* const kTitles[] = {"SASPHYPage0 /%04x", "SASPHYPage1 /%04x", "SASPHYPage2 /%04x",
                                        "SASPHYPage3 /%04x"};
  PageKind kinds[4];
  uint32_t sizes[4] = {};
  for (uint8_t n = 0; n < 4; ++n) kinds[n] = {kExt, n, kExtPageSasPhy, kCurrent};
  // Pages 0 and 1 are asked for once; pages 2 and 3 phy by phy.
  sizes[0] = KindSize(t, kinds[0]);
  sizes[1] = KindSize(t, kinds[1]);
  AppBuffer page;
  for (uint32_t phy = 0; phy < kPhyCount; ++phy) {
    for (uint8_t n = 0; n < 4; ++n) {
      uint32_t size = n < 2 ? sizes[n] : KindSize(t, kinds[n], true, phy);
      if (size == 0) continue;
      uint32_t got = 0;
      if (!ReadPage(t, kinds[n], size, size, phy, &page, &got)) continue;
      DumpConfigPageHex(t.file, Title(kTitles[n], phy).c_str(), page.get(), got);
    }
  }
  return 1;
}

uint32_t DumpSasEnclosurePages(const PageDumpTarget& t) {
  Walk(t, {kExt, 0, kExtPageEnclosure, kCurrent}, EnclosureWalk(kFirstHandle), kEnclosureHandle, 2,
       "SASEnclosurePage0 / %02x", enclosure_page0::kSize);
  return 1;
}

uint32_t DumpDriverMappingPage(const PageDumpTarget& t) {
  PageKind ioc8 = {kPageTypeIoc, kIocPage8Number, 0, kNvram};
  AppBuffer limits(kIocPage8Size);
  if (!limits) {
    SayNoMemory();
    return 0;
  }
  uint32_t got = 0;
  if (GetCfgPage(t.adapter, ioc8.type, ioc8.number, 0, kIocPage8Size, kNvram, limits.get(), 0, t.iocStatus,
                 t.iocLogInfo, &got) != 1 ||
      got < kIocPage8MaxEntries + 2) {
    return 1;
  }
  uint32_t entries = GetLe16(limits.get(), kIocPage8MaxEntries);
  PageKind mapping = {kExt, 0, kExtPageDriverMapping, kNvram};
  if (entries == 0) return 1;
  uint32_t size = KindSize(t, mapping);
  if (size == 0) return 1;
  AppBuffer page;
  for (uint32_t index = 0; index < entries; ++index) {
    if (!ReadPage(t, mapping, size, kMappingPageSize, kFormMappingEntry + index, &page, &got)) break;
    bool identified = false;
    for (size_t i = 0; i < kMappingIdentifierSize && kMappingIdentifier + i < got; ++i) {
      identified = identified || page.get()[kMappingIdentifier + i] != 0;
    }
    if (!identified) continue;
    DumpConfigPageHex(t.file, Title("DriverMappingPage0 / %04x", index).c_str(), page.get(), got);
  }
  return 1;
}
