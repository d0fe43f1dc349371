// The adapter section of -list: where the card sits on the PCI bus, its SAS
// address, the versions of the images in its flash, the PSoC, the board's
// identity and whether it is configured for a volume.
#include <cstdint>
#include <utility>

#include "app/card/card_state.h"
#include "app/card/config_page_layouts.h"
#include "app/shell/console.h"
#include "app/images/flash_version.h"
#include "app/images/image_transfer.h"
#include "app/images/image_upload.h"
#include "app/images/option_rom_layout.h"
#include "app/shell/json_writer.h"
#include "app/list/list_layouts.h"
#include "app/list/list_sections.h"
#include "app/list/list_texts.h"
#include "app/shell/memory_strings.h"
#include "app/card/page_readers.h"
#include "app/card/pci_link.h"
#include "app/card/whole_page.h"
#include "app/shell/program_state.h"
#include "app/images/rom_image_version.h"
#include "app/host/sysfs_lookups.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"

namespace {

// "ssss:bb:dd:f" with every field as wide as its word allows.
constexpr size_t kPciAddressSize = 32;
constexpr size_t kBoardTextSize = manufacturing_page0::kNameSize + 1;

// The board's four identity texts; an empty one shows as N/A.
struct BoardTexts {
  bool sized = false;  // the page's size was known: the lines are printed
  char chipName[kBoardTextSize] = {};
  char boardName[kBoardTextSize] = {};
  char assembly[kBoardTextSize] = {};
  char tracer[kBoardTextSize] = {};
};

// What the JSON keys are made of, collected as the text lines are printed.
struct AdapterSummary {
  uint32_t id = 0;
  char pciAddress[kPciAddressSize] = {};
  uint8_t slot = kPciSlotUnknown;
  bool linkRead = false;
  uint8_t linkWidth = 0;
  uint8_t linkRate = 0;
  uint32_t deviceId = 0;
  uint32_t subsystemVendorId = 0;
  uint32_t subsystemDeviceId = 0;
  uint32_t sasHigh = 0;
  uint32_t sasLow = 0;
  ListVersionTexts versions = {};
  uint16_t psocVersion = 0;  // 0: none, or it could not be read
  BoardTexts board;
  bool numa = false;
  bool configured = false;
};

const char* OrNa(const char* text) { return text[0] != '\0' ? text : "N/A"; }
const char* OrJsonNa(const char* text) { return text[0] != '\0' ? text : "NA"; }

// Page 223 in its own buffer, or none: a page that cannot be read whole
// (also one whose size was known but whose read failed) is not used, so
// that the versions come from the flash images instead of a cleared page.
void ReadPage223(uint32_t vx, Page223Buffer* page223) {
  PageCopy page;
  *page223 = ReadExtPage223(vx, &page) == 0 && page.Holds(0, kPage223Size) ? std::move(page) : PageCopy();
}

// The slot the controller reports, or the one sysfs lists the card in when
// the controller does not know it; kPciSlotUnknown when neither knows.
uint8_t ReadPciSlot(uint32_t vx, const AdapterInfoBlock& info) {
  uint8_t slot = kPciSlotUnknown;
  if (GetPciSlotFromIoc(vx, &slot) != 0) return kPciSlotUnknown;
  if (slot == kPciSlotUnknown) slot = GetPciSlotNumber(info);
  return slot;
}

void PrintPciLines(const AdapterSummary& s) {
  ConsolePrint("  Corvexium ID                           : %d\n", static_cast<int>(s.id));
  ConsolePrint("  PCI Address                            : %s\n", s.pciAddress);
  if (s.slot == kPciSlotUnknown) {
    ConsolePrint("  PCI Slot Number                        : N/A\n");
  } else {
    ConsolePrint("  PCI Slot Number                        : 0x%02X\n", s.slot);
  }
  if (s.linkRead) {
    ConsolePrint("  PCIe Link Width                        : X%x Lane(s)\n", s.linkWidth);
    ConsolePrint("  PCIe Link Rate                         : 0x%02x (%s)\n", s.linkRate,
                 PcieLinkRateText(s.linkRate));
  } else {
    ConsolePrint("  PCIe information                       : Unable to retrieve information\n");
  }
  ConsolePrint("  PCI DeviceId                           : 0x%X\n", s.deviceId);
  ConsolePrint("  PCI SubSystem DeviceId                 : 0x%X\n", s.subsystemDeviceId);
  ConsolePrint("  PCI SubSystem VendorId                 : 0x%X\n", s.subsystemVendorId);
  ConsolePrint("  SAS Address                            : %07X %01X%08X\n", s.sasHigh >> 4, s.sasHigh & 0xF,
               s.sasLow);
}

// Page 223 when it was read, else the heads of the images in flash.
ListVersions ReadVersions(uint32_t vx, const Page223Buffer& page223) {
  ListVersions v;
  if (page223.Holds(0, kPage223Size)) {
    v.imageRead = v.biosRead = v.uefiRead = true;
    v.package = GetLe32(page223.data(), kPage223PackageVersion);
    v.firmware = GetLe32(page223.data(), kPage223FirmwareVersion);
    v.legacyBios = GetLe32(page223.data(), kPage223LegacyBiosVersion);
    v.uefiBsd = GetLe32(page223.data(), kPage223UefiVersion);
    return v;
  }
  AppBuffer head;
  uint32_t imageSize = 0;
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  // An image shorter than its header's version words (none in flash at
  // all, for one) has no versions to show.
  static_assert(kFirmwareHeaderPackageVersion + 4 <= kImageHeadSize);
  static_assert(kFirmwareHeaderVersion < kFirmwareHeaderPackageVersion);
  if (UploadImageBuffer(vx, kImageTypeFirmware, &head, &imageSize, 0, &iocStatus, &iocLogInfo) == 1 &&
      head && imageSize >= kFirmwareHeaderPackageVersion + 4) {
    v.imageRead = true;
    v.package = GetLe32(head.get(), kFirmwareHeaderPackageVersion);
    v.firmware = GetLe32(head.get(), kFirmwareHeaderVersion);
  }
  v.legacyBios = kNoRomVersion;
  v.uefiBsd = kNoRomVersion;
  v.biosRead = GetFlashBiosVersion(vx, &v.legacyBios, kImageTypeBiosRegion, option_rom::kCodeTypeLegacy) == 1;
  v.uefiRead = GetFlashBiosVersion(vx, &v.uefiBsd, kImageTypeBiosRegion, option_rom::kCodeTypeUefi) == 1;
  return v;
}

void PrintVersionLines(const ListVersionTexts& t) {
  ConsolePrint("  Package Version                        : %s\n", OrNa(t.package));
  ConsolePrint("  Firmware Version                       : %s\n", OrNa(t.firmware));
  ConsolePrint("  Legacy BIOS Version                    : %s\n", OrNa(t.legacyBios));
  ConsolePrint("  UEFI BSD Version                       : %s\n", OrNa(t.uefiBsd));
}

// The PSoC's version, when the board has one (manufacturing page 10 says
// so) and it answers a version other than 0. Text: its line, or none when
// page 10 cannot be read or the board has no PSoC.
uint16_t ReadPsocVersion(uint32_t vx, bool text) {
  PageCopy page;
  bool readable = ReadMfgPage10(vx, &page) == 0 && page.Holds(manufacturing_page10::kBoardFlags, 4);
  // The board flag that marks a board without a SuperCap also marks it
  // without a PSoC.
  bool none = readable && (GetLe32(page.data(), manufacturing_page10::kBoardFlags) &
                           manufacturing_page10::kFlagNoSuperCap) != 0;
  if (!readable) {
    if (text) ConsoleDiagnostic("%s: Corvexium is not in a proper state.\n", kUtilityTitle);
    return 0;
  }
  if (none) return 0;
  uint8_t reply[kIoUnitControlReplySize] = {};
  IocStatusInfo status{};
  uint16_t version = 0;
  static_assert(kPsocVersionReplyValue + 2 <= kIoUnitControlReplySize);
  if (SendIoUnitControl(vx, kPsocVersionOperation, reply, &status) == kLibOk && status.iocStatus == 0) {
    version = GetLe16(reply, kPsocVersionReplyValue);
  }
  if (text) {
    if (version != 0) {
      ConsolePrint("  PSOC Version                           : %x\n", version);
    } else {
      ConsolePrint("  PSOC Version                           : N/A\n");
    }
  }
  return version;
}

void CopyBoardText(const uint8_t* page, size_t offset, char* text) {
  // A field whose first byte is 0 is empty: the text stays empty (N/A).
  if (page[offset] == 0) return;
  CopyStringN(text, reinterpret_cast<const char*>(page + offset),
              static_cast<uint16_t>(manufacturing_page0::kNameSize));
}

// Manufacturing page 0 from NVRAM. Nothing is known when even its size
// cannot be asked; a read that fails, or a page too short for the tracer
// number, leaves every text empty.
BoardTexts ReadBoardTexts(uint32_t vx) {
  BoardTexts board;
  PageCopy page;
  PageRead read = ReadWholePage(vx, {kPageTypeManufacturing, 0}, kReadNvram, &page);
  if (read.result == PageReadResult::kSizeQueryFailed) return board;
  board.sized = true;
  if (read.ok() && page.Holds(0, manufacturing_page0::kTextsEnd)) {
    CopyBoardText(page.data(), manufacturing_page0::kChipName, board.chipName);
    CopyBoardText(page.data(), manufacturing_page0::kBoardName, board.boardName);
    CopyBoardText(page.data(), manufacturing_page0::kBoardAssembly, board.assembly);
    CopyBoardText(page.data(), manufacturing_page0::kBoardTracer, board.tracer);
  }
  return board;
}

// The label (indent, name and colon), then the text or N/A.
void PrintBoardLine(const char* label, const char* field, size_t size) {
  char text[kBoardTextSize + 1];
  PrintableString(text, OrNa(field), std::min(size, kBoardTextSize));
  ConsolePrint("%s%s\n", label, text);
}

void PrintBoardLines(const BoardTexts& b) {
  if (!b.sized) return;
  PrintBoardLine("  Chip Name                              : ", b.chipName, sizeof b.chipName);
  PrintBoardLine("  Board Name                             : ", b.boardName, sizeof b.boardName);
  PrintBoardLine("  Board Assembly Number                  : ", b.assembly, sizeof b.assembly);
  PrintBoardLine("  Board Tracer Number                    : ", b.tracer, sizeof b.tracer);
}

// Bit 15 of the IOC FACTS capability word, when the reply reached it.
bool NumaEnabled(const CardInfo& info) {
  static_assert(ioc_facts_reply::kIocCapabilities + 4 <= sizeof(CardInfo::iocFacts));
  uint32_t replyBytes = 4u * Get8(info.iocFacts, ioc_facts_reply::kMessageLength);
  if (!PageHolds(replyBytes, ioc_facts_reply::kIocCapabilities, 4)) return false;
  return (GetLe32(info.iocFacts, ioc_facts_reply::kIocCapabilities) & ioc_facts_reply::kCapabilityNuma) != 0;
}

void WriteAdapterJson(JsonWriter* json, const AdapterSummary& s) {
  char text[kPciAddressSize];
  json->Unsigned("corvexiumID", s.id);
  json->BeginObject("pci");
  json->String("address", s.pciAddress);
  if (s.slot == kPciSlotUnknown) {
    json->String("slotNumber", "NA");
  } else {
    FormatString(text, sizeof text, "%X", s.slot);
    json->String("slotNumber", text);
  }
  json->Float("linkRate", s.linkRead ? PcieLinkRateGbps(s.linkRate) : 0.0, JsonWriter::FloatStyle::kOneDecimal);
  json->Unsigned("linkWidth", s.linkRead ? s.linkWidth : 0);
  FormatString(text, sizeof text, "%X", s.deviceId);
  json->String("deviceID", text);
  FormatString(text, sizeof text, "%X", s.subsystemVendorId);
  json->String("vendorID", text);
  FormatString(text, sizeof text, "%X", s.subsystemDeviceId);
  json->String("ssid", text);
  json->EndObject();
  json->BeginObject("sasAddr");
  FormatString(text, sizeof text, "%07X", s.sasHigh >> 4);
  json->String("high", text);
  FormatString(text, sizeof text, "%01X%08X", s.sasHigh & 0xF, s.sasLow);
  json->String("low", text);
  json->EndObject();
  json->String("pkgVersion", OrJsonNa(s.versions.package));
  json->String("fwVersion", OrJsonNa(s.versions.firmware));
  json->String("biosVersion", OrJsonNa(s.versions.legacyBios));
  json->String("bsdVersion", OrJsonNa(s.versions.uefiBsd));
  // The hexadecimal digits as a string: a bare 307 would read as decimal.
  FormatString(text, sizeof text, "%x", s.psocVersion);
  json->String("psocVersion", text);
  json->String("chipName", OrJsonNa(s.board.chipName));
  json->String("boardName", OrJsonNa(s.board.boardName));
  json->String("assemblyNum", OrJsonNa(s.board.assembly));
  json->String("tracerNum", OrJsonNa(s.board.tracer));
  json->String("raidEnabled", s.configured ? "Yes" : "No");
  json->Bool("numaEnabled", s.numa);
}

}  // namespace

int PrintAdapterInfo(JsonWriter* json, Page223Buffer* page223) {
  bool text = json == nullptr;
  CardInfo info;
  MemSet(&info, 0, sizeof info);
  uint32_t status = GetCardInfo(SelectedController - 1, &info);
  if (status != 0) return text ? static_cast<int>(status) : kListJsonCardFailed;
  const AdapterInfoBlock& adapter = info.adapterInfo;
  uint32_t vx = adapter.adapterHandle;

  ReadPage223(vx, page223);
  AdapterSummary s;
  s.id = SelectedController;
  // The card is asked for its link together with its slot, and once more
  // when the link lines are made: those show the second answer.
  uint8_t width = 0;
  uint8_t rate = 0;
  GetPcieLinkInfo(vx, &width, &rate);
  s.slot = ReadPciSlot(vx, adapter);
  uint32_t location = adapter.pciLocation;
  FormatString(s.pciAddress, sizeof s.pciAddress, "%02x:%02x:%02x:%02x", adapter.pciSegment,
               location >> pci_location::kBusShift, location & pci_location::kDeviceMask,
               (location >> pci_location::kFunctionShift) & pci_location::kFunctionMask);
  s.linkRead = GetPcieLinkInfo(vx, &s.linkWidth, &s.linkRate) == 0;
  s.deviceId = adapter.pciDeviceId;
  s.subsystemVendorId = adapter.subsystemVendorId;
  s.subsystemDeviceId = adapter.subsystemDeviceId;
  static_assert(manufacturing_page5::kSasAddressHigh + 4 <= sizeof(CardInfo::mfgPage5));
  s.sasLow = GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressLow);
  s.sasHigh = GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressHigh);
  if (text) {
    // The board name fills its 16 bytes without a terminator when it is long.
    char name[sizeof info.boardName + 1];
    PrintableString(name, info.boardName, sizeof info.boardName);
    ConsolePrint("\nCorvexium Selected is %s\n", name);
    ConsolePrint("%sCorvexium Information\n%s", kListRule, kListRule);
    PrintPciLines(s);
  }

  FormatListVersions(ReadVersions(vx, *page223), &s.versions);
  if (text) PrintVersionLines(s.versions);
  s.psocVersion = ReadPsocVersion(vx, text);
  s.board = ReadBoardTexts(vx);
  if (text) PrintBoardLines(s.board);
  s.numa = NumaEnabled(info);
  if (text && s.numa) ConsolePrint("  NUMA                                   : Enabled\n");

  bool unconfigured = false;
  uint32_t state = CheckCardState(&unconfigured);
  if (state != 0) {
    if (text) ConsolePrint("  RAID Support                           : N/A\n");
    return text ? static_cast<int>(state) : kListJsonCardFailed;
  }
  s.configured = !unconfigured;
  if (text) {
    ConsolePrint("  RAID Support                           : %s\n", s.configured ? "YES" : "NO");
    ConsolePrint("\n");
  } else {
    WriteAdapterJson(json, s);
  }
  return 0;
}
