// The default pages that hold the card's RAID limits and SAS settings. The
// limits follow the board: a volume holds at most the modules the board
// carries, the RAID checks of the library and the health and format
// commands compare the module count with them.
#include "emu/pages/default_pages.h"
#include "emu/raid/device_rules.h"
#include "emu/host/le_bytes.h"
#include "emu/pages/page_builder.h"
#include "emu/pages/raid_page_layouts.h"
#include "emu/pages/sas_page_layouts.h"

namespace emu {

using namespace pages;

std::vector<uint8_t> IocPage6(const AdapterModel& adapter) {
  std::vector<uint8_t> page = NewPage(kPageIoc, 6, ioc6::kVersion, ioc6::kBytes);
  uint8_t modules = static_cast<uint8_t>(PopulatedSlots(adapter.boardType).size());
  le::Put32(&page, ioc6::kCapabilities,
            ioc6::kCapRaid0 | ioc6::kCapRaid1e | ioc6::kCapRaid1 | ioc6::kCapRaid10);
  const uint8_t maxDrives[4] = {modules, 2, modules, modules};  // RAID0, RAID1, RAID1E, RAID10
  const uint8_t minDrives[4] = {2, 2, 3, 4};
  for (int i = 0; i < 4; ++i) {
    le::Put8(&page, ioc6::kMaxDrives + i, maxDrives[i]);
    le::Put8(&page, ioc6::kMinDrives + i, minDrives[i]);
  }
  le::Put8(&page, ioc6::kMaxHotSpares, 1);
  le::Put8(&page, ioc6::kMaxPhysDisks, modules);
  le::Put8(&page, ioc6::kMaxVolumes, adapter.maxVolumes);
  le::Put8(&page, ioc6::kMaxConfigs, 1);
  le::Put32(&page, ioc6::kStripeSizeMap, 0x00000FF0);  // 16 to 2048 blocks (8 KiB to 1 MiB)
  le::Put16(&page, ioc6::kMetadataReserve, 512);
  return page;
}

std::vector<uint8_t> ManufacturingPage4(const AdapterModel& adapter) {
  std::vector<uint8_t> page = NewPage(kPageManufacturing, 4, mfg4::kVersion, mfg4::kBytes);
  uint8_t modules = static_cast<uint8_t>(PopulatedSlots(adapter.boardType).size());
  le::Put32(&page, mfg4::kFlags, 0x00010000);  // the metadata reserve of IOC page 6 applies
  le::Put8(&page, mfg4::kVolumeMembers, modules);
  le::Put8(&page, mfg4::kVolumeDevices, modules);
  return page;
}

std::vector<uint8_t> SasIoUnitPage1(const AdapterModel&) {
  namespace p = sas_io_unit1;
  std::vector<uint8_t> page = NewExtPage(kExtSasIoUnit, 1, p::kVersion, p::Bytes(kCardPhys));
  le::Put16(&page, p::kNarrowQueueDepth, 32);
  le::Put16(&page, p::kWideQueueDepth, 0);
  le::Put8(&page, p::kNumPhys, kCardPhys);
  le::Put8(&page, p::kSataQueueDepth, 32);
  le::Put8(&page, p::kIoMissingDelay, 8);
  for (uint32_t phy = 0; phy < kCardPhys; ++phy) {
    uint32_t at = p::kPhyData + phy * p::kPhyBytes;
    le::Put8(&page, at + p::kPort, 0xFF);       // ports are configured automatically
    le::Put8(&page, at + p::kPortFlags, 0x01);
    le::Put8(&page, at + p::kMaxMinRate, kMaxMinRate);
  }
  return page;
}

std::vector<uint8_t> SasIoUnitPage4(const AdapterModel&) {
  namespace p = sas_io_unit4;
  std::vector<uint8_t> page = NewExtPage(kExtSasIoUnit, 4, p::kVersion, p::Bytes(kCardPhys));
  for (uint32_t group = 0; group < 4; ++group) {
    le::Put8(&page, p::kSpinupGroups + 4 * group + 1, 2);  // two targets at a time
    le::Put8(&page, p::kSpinupGroups + 4 * group + 2, 1);  // one second apart
  }
  le::Put8(&page, p::kBootDeviceWait, 30);
  le::Put8(&page, p::kNumPhys, kCardPhys);
  return page;
}

std::vector<uint8_t> SasIoUnitPage5(const AdapterModel&) {
  namespace p = sas_io_unit5;
  std::vector<uint8_t> page = NewExtPage(kExtSasIoUnit, 5, p::kVersion, p::Bytes(kCardPhys));
  le::Put8(&page, p::kNumPhys, kCardPhys);
  return page;
}

}  // namespace emu
