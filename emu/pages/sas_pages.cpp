// The SAS pages generated from the modules: the IO unit's phy status, one
// device page per module on the bus (RAID members too, as a controller lists
// them), the phy pages and the card's one enclosure.
#include "emu/pages/default_pages.h"
#include "emu/raid/device_rules.h"
#include "emu/pages/generated_pages.h"
#include "emu/host/le_bytes.h"
#include "emu/pages/page_builder.h"
#include "emu/pages/sas_page_layouts.h"

namespace emu {
namespace {

using namespace pages;

constexpr uint16_t kControllerHandle = 0x0001;     // the IO unit itself
constexpr uint32_t kControllerPhyInfo = 0x00000078;  // SSP, STP, SMP initiator and SATA host

// The module on the phy that is on the bus, or null.
const ModuleModel* AttachedOn(const AdapterModel& adapter, uint32_t phy) {
  const ModuleModel* module = adapter.FindModule(static_cast<uint8_t>(phy));
  return module != nullptr && ModuleAttached(adapter, *module) ? module : nullptr;
}

uint8_t NegotiatedRate(const AdapterModel& adapter, uint32_t phy, bool bothNibbles) {
  if (PhyDisabled(adapter, static_cast<uint8_t>(phy))) return bothNibbles ? kRatesDisabled : kRatePhyDisabled;
  if (AttachedOn(adapter, phy) == nullptr) return kRateUnknown;
  return bothNibbles ? kRateBoth6Gbps : kRate6Gbps;
}

std::vector<uint8_t> IoUnitPage0(const AdapterModel& adapter) {
  namespace p = sas_io_unit0;
  std::vector<uint8_t> page = NewExtPage(kExtSasIoUnit, 0, p::kVersion, p::Bytes(kCardPhys));
  le::Put8(&page, p::kNumPhys, kCardPhys);
  for (uint32_t phy = 0; phy < kCardPhys; ++phy) {
    uint32_t at = p::kPhyData + phy * p::kPhyBytes;
    const ModuleModel* module = AttachedOn(adapter, phy);
    le::Put8(&page, at + p::kPort, module != nullptr ? module->physicalPort : 0xFF);
    le::Put8(&page, at + p::kPhyFlags,
             PhyDisabled(adapter, static_cast<uint8_t>(phy)) ? sas_io_unit1::kPhyDisabled : 0);
    le::Put8(&page, at + p::kNegotiatedRate, NegotiatedRate(adapter, phy, true));
    le::Put32(&page, at + p::kControllerPhyDeviceInfo, kControllerPhyInfo);
    le::Put16(&page, at + p::kAttachedDevHandle, module != nullptr ? module->devHandle : 0);
    le::Put16(&page, at + p::kControllerDevHandle, kControllerHandle);
  }
  return page;
}

std::vector<uint8_t> DevicePage0(const ModuleModel& m) {
  namespace p = sas_device0;
  std::vector<uint8_t> page = NewExtPage(kExtSasDevice, 0, p::kVersion, p::kBytes);
  le::Put16(&page, p::kSlot, m.slot);
  le::Put16(&page, p::kEnclosureHandle, kEnclosureHandle);
  le::Put64(&page, p::kSasAddress, m.sasAddress);
  le::Put16(&page, p::kParentDevHandle, kControllerHandle);
  le::Put8(&page, p::kPhyNum, m.slot);
  le::Put8(&page, p::kAccessStatus, m.accessStatus);
  le::Put16(&page, p::kDevHandle, m.pageDevHandle >= 0 ? static_cast<uint16_t>(m.pageDevHandle) : m.devHandle);
  le::Put32(&page, p::kDeviceInfo, m.deviceInfo);
  le::Put16(&page, p::kFlags, m.deviceFlags);
  le::Put8(&page, p::kPhysicalPort, m.physicalPort);
  le::Put8(&page, p::kMaxPortConnections, 1);
  le::Put64(&page, p::kDeviceName, m.wwn);
  return page;
}

std::vector<uint8_t> DevicePage1(const ModuleModel& m) {
  namespace p = sas_device1;
  std::vector<uint8_t> page = NewExtPage(kExtSasDevice, 1, p::kVersion, p::kBytes);
  le::Put64(&page, p::kSasAddress, m.sasAddress);
  le::Put16(&page, p::kDevHandle, m.devHandle);
  if (ModuleIsSas(m)) return page;  // no FIS: an SSP target
  // The signature FIS the device sent at link-up: an ATA device, ready.
  const uint8_t fis[8] = {0x34, 0x00, 0x50, 0x01, 0x01, 0x00, 0x00, 0x00};
  for (int i = 0; i < 8; ++i) le::Put8(&page, p::kInitialFis + i, fis[i]);
  le::Put8(&page, p::kInitialFis + 12, 0x01);  // sector count
  return page;
}

std::vector<uint8_t> PhyPage0(const AdapterModel& adapter, uint32_t phy) {
  namespace p = sas_phy0;
  std::vector<uint8_t> page = NewExtPage(kExtSasPhy, 0, p::kVersion, p::kBytes);
  const ModuleModel* module = AttachedOn(adapter, phy);
  le::Put16(&page, p::kOwnerDevHandle, kControllerHandle);
  le::Put16(&page, p::kAttachedDevHandle, module != nullptr ? module->devHandle : 0);
  le::Put8(&page, p::kProgrammedRate, kMaxMinRate);
  le::Put8(&page, p::kHwRate, kMaxMinRate);
  uint32_t phyInfo = 0;
  if (module != nullptr && module->linkPower == 1) phyInfo = p::kPowerPartial;
  if (module != nullptr && module->linkPower == 2) phyInfo = p::kPowerSlumber;
  le::Put32(&page, p::kPhyInfo, phyInfo);
  le::Put8(&page, p::kNegotiatedRate, NegotiatedRate(adapter, phy, false));
  return page;
}

}  // namespace

void GenerateSasIoUnitPages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number == 0) (*pages)[0] = IoUnitPage0(adapter);
}

void GenerateSasDevicePages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number > 1) return;
  for (const ModuleModel& m : adapter.modules) {
    if (!ModuleAttached(adapter, m)) continue;
    (*pages)[m.devHandle] = number == 0 ? DevicePage0(m) : DevicePage1(m);
  }
}

void GenerateSasPhyPages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  if (number > 1) return;
  for (uint32_t phy = 0; phy < kCardPhys; ++phy) {
    (*pages)[phy] = number == 0 ? PhyPage0(adapter, phy)
                                : NewExtPage(kExtSasPhy, 1, sas_phy1::kVersion, sas_phy1::kBytes);
  }
}

void GenerateEnclosurePages(const AdapterModel& adapter, uint8_t number, PageSet* pages) {
  namespace p = enclosure0;
  if (number != 0) return;
  std::vector<uint8_t> page = NewExtPage(kExtEnclosure, 0, p::kVersion, p::kBytes);
  le::Put64(&page, p::kLogicalId, adapter.sasAddress);
  le::Put16(&page, p::kFlags, 0x0001);  // slots managed by the IO unit itself
  le::Put16(&page, p::kEnclosureHandle, kEnclosureHandle);
  le::Put16(&page, p::kNumSlots, kSlotCount);
  le::Put16(&page, p::kStartSlot, 0);
  (*pages)[kEnclosureHandle] = std::move(page);
}

}  // namespace emu
