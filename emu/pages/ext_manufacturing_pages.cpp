// The controller's extended manufacturing pages (type 15, extended type
// 0x1A), generated on request: page 221 the modules' trim counts, page 222
// the board's power sensors, page 223 (when the card has it) the versions
// in flash and each slot's module configuration identifier. A slot
// without a module, or with one whose identifier the packed form cannot
// carry, is 0 in page 223 (emu/modules/config_identifier.h).
#include "emu/modules/config_identifier.h"
#include "emu/flash/flash_versions.h"
#include "emu/pages/generated_pages.h"
#include "emu/host/le_bytes.h"
#include "emu/pages/page_builder.h"
#include "emu/pages/page_layouts.h"

namespace emu {
namespace {

namespace p = pages::ext_mfg;

std::vector<uint8_t> TrimPage(const AdapterModel& a) {
  std::vector<uint8_t> page = NewExtPage(kExtManufacturing, p::kTrimPage, p::kVersion, p::kTrimBytes);
  le::Put8(&page, p::kTrimSlots, kSlotCount);
  for (const ModuleModel& m : a.modules) {
    if (m.slot < kSlotCount) le::Put64(&page, p::kTrimCounts + 8u * m.slot, m.trimCount);
  }
  return page;
}

std::vector<uint8_t> PowerPage(const AdapterModel& a) {
  std::vector<uint8_t> page = NewExtPage(kExtManufacturing, p::kPowerPage, p::kVersion, p::kPowerBytes);
  le::Put32(&page, p::kPower12v, a.power12v);
  le::Put32(&page, p::kPower3v3, a.power3v3);
  le::Put32(&page, p::kPowerTotal, a.powerTotal);
  return page;
}

std::vector<uint8_t> VersionPage(const AdapterModel& a) {
  std::vector<uint8_t> page = NewExtPage(kExtManufacturing, p::kVersionPage, p::kVersion, p::kVersionBytes);
  FlashVersions v = ReadFlashVersions(a);
  le::Put32(&page, p::kFirmwareVersion, v.firmware);
  le::Put32(&page, p::kLegacyBiosVersion, v.legacyBios);
  le::Put32(&page, p::kUefiVersion, v.uefi);
  le::Put32(&page, p::kPackageVersion, v.package);
  for (const ModuleModel& m : a.modules) {
    if (m.slot < kSlotCount && m.state != ModuleState::kMissing) {
      le::Put32(&page, p::kIdentifiers + 4u * m.slot, PackConfigIdentifier(m));
    }
  }
  return page;
}

}  // namespace

void GenerateExtManufacturingPages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  switch (number) {
    case p::kTrimPage: (*pages)[0] = TrimPage(adapter); break;
    case p::kPowerPage: (*pages)[0] = PowerPage(adapter); break;
    case p::kVersionPage:
      if (adapter.versionPage) (*pages)[0] = VersionPage(adapter);
      break;
    default: break;
  }
}

}  // namespace emu
