#include "emu/card_file/named_cards.h"

#include "emu/raid/device_rules.h"
#include "emu/modules/smart_attributes.h"

namespace emu {
namespace {

// Pages, the RAID state and the virtual files after the settings changed.
void Regenerate(HostModel* host, bool raid) {
  AdapterModel& a = *host->FirstAdapter();
  a.pages = DefaultPages(a);
  a.images = DefaultImages(a);
  if (raid) a.raid = DefaultRaid(a);
  host->files = DefaultVirtualFiles(*host);
}

constexpr uint8_t kSlot3 = 3;
constexpr uint8_t kSlot5 = 5;
constexpr uint8_t kSlot6 = 6;
constexpr uint8_t kSlot7 = 7;
constexpr uint64_t kSectors512 = 1000215216;  // a 512 GB module
constexpr uint64_t kSectors256 = 500118192;   // a 256 GB module

}  // namespace

HostModel NoCardHost() {
  HostModel host;
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel UnconfiguredHost() {
  HostModel host = DefaultHost();
  AdapterModel& a = *host.FirstAdapter();
  a.boardFlags = (a.boardFlags & ~3u) | 1u;
  Regenerate(&host, true);
  return host;
}

HostModel BoardType9Host() {
  HostModel host = DefaultHost();
  AdapterModel& a = *host.FirstAdapter();
  a.boardType = 9;
  a.modules = DefaultModules(a);
  Regenerate(&host, true);
  return host;
}

HostModel DegradedHost() {
  HostModel host = DefaultHost();
  AdapterModel& a = *host.FirstAdapter();
  PhysDiskModel* disk = a.raid.FindDisk(a.raid.FindDiskBySlot(kSlot6)->number);
  disk->state = kDiskOffline;
  disk->offlineReason = kOfflineFailed;
  a.raid.volumes.front().state = kVolumeDegraded;
  a.FindModule(kSlot6)->slotStatus = 0x00000002;  // device faulty
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel ModuleMissingHost() {
  HostModel host = DefaultHost();
  AdapterModel& a = *host.FirstAdapter();
  a.FindModule(kSlot6)->state = ModuleState::kMissing;
  PhysDiskModel* disk = a.raid.FindDisk(a.raid.FindDiskBySlot(kSlot6)->number);
  disk->state = kDiskOffline;
  disk->offlineReason = kOfflineMissing;
  RecomputeVolumeState(a.raid, &a.raid.volumes.front());
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel HealthWarningHost() {
  HostModel host = DefaultHost();
  ModuleModel& m = *host.FirstAdapter()->FindModule(kSlot5);
  SetLifeLeft(m, 15, 0);
  SetTemperature(m, 75);
  return host;
}

HostModel HealthErrorHost() {
  HostModel host = DefaultHost();
  AdapterModel& a = *host.FirstAdapter();
  ModuleModel& m = *a.FindModule(kSlot5);
  SetLifeLeft(m, 5, 0);
  SetTemperature(m, 85);
  a.superCapHealth = 35;
  return host;
}

HostModel LockedModuleHost() {
  HostModel host = DefaultHost();
  ModuleModel& m = *host.FirstAdapter()->FindModule(kSlot6);
  m.state = ModuleState::kLocked;
  m.userPassword = "vexlock";
  return host;
}

HostModel SmartFailsHost() {
  HostModel host = DefaultHost();
  host.FirstAdapter()->FindModule(kSlot6)->smartFails = true;
  return host;
}

HostModel SuperCapBusyHost() {
  HostModel host = DefaultHost();
  host.FirstAdapter()->superCapBusy = 5;
  return host;
}

HostModel NoAuxPowerHost() {
  HostModel host = DefaultHost();
  host.FirstAdapter()->gpioAuxPower = 0;
  Regenerate(&host, false);
  return host;
}

HostModel UnconfiguredFiveHost() {
  HostModel host = UnconfiguredHost();
  AdapterModel& a = *host.FirstAdapter();
  a.modules.insert(a.modules.begin(), DefaultModule(a, kSlot3, static_cast<uint16_t>(kFirstModuleHandle + 4)));
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel UnconfiguredThreeHost() {
  HostModel host = UnconfiguredHost();
  AdapterModel& a = *host.FirstAdapter();
  std::erase_if(a.modules, [](const ModuleModel& m) { return m.slot == kSlot7; });
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel SasModuleHost() {
  HostModel host = DefaultHost();
  ModuleModel& m = *host.FirstAdapter()->FindModule(kSlot7);
  m.deviceInfo = kDeviceInfoSspTarget | 0x00000800 | 0x00000001;
  m.model = "ZKM128-SAS12G";
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel TwoCardsHost() {
  HostModel host = DefaultHost();
  AdapterModel second = DefaultCorvexium(1);
  second.pciBus = 0x82;
  second.sasAddress = 0x500605B00C8A5E20ull;
  second.boardTracer = "ZK8C4A0288";
  second.scsiHost = 1;
  second.pciSlot = 6;
  second.sysfsSlot = 6;
  second.pages = DefaultPages(second);
  second.images = DefaultImages(second);
  second.modules = DefaultModules(second);
  for (ModuleModel& m : second.modules) m.serial[7] = 'B';  // ZKM2406B0104 ...
  second.raid = DefaultRaid(second);
  host.nodes.front().adapters.push_back(std::move(second));
  // The second card's manufacturing page 0 announces its size but its
  // NVRAM copy cannot be read.
  Fault nvram;
  nvram.kind = FaultKind::kAnswer;
  nvram.function = 0x04;
  nvram.pageType = kPageManufacturing;
  nvram.pageNumber = 0;
  nvram.action = 6;  // read NVRAM
  nvram.ioc = 1;
  nvram.iocStatus = 0x0022;
  nvram.times = -1;
  host.faults.push_back(nvram);
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel TwoGoodCardsHost() {
  HostModel host = TwoCardsHost();
  host.faults.clear();
  return host;
}

HostModel NoPage223Host() {
  HostModel host = DefaultHost();
  host.FirstAdapter()->versionPage = false;
  return host;
}

HostModel SysfsSlotHost() {
  HostModel host = DefaultHost();
  host.FirstAdapter()->pciSlot = 0xFF;
  Regenerate(&host, false);
  return host;
}

HostModel MixedModulesHost() {
  HostModel host = UnconfiguredHost();
  AdapterModel& a = *host.FirstAdapter();
  auto set = [&](uint8_t slot, char type, const char* config, uint64_t sectors) {
    ModuleModel& m = *a.FindModule(slot);
    m.modelType = type;
    m.configId = config;
    m.nativeSectors = m.maxSectors = sectors;
  };
  set(kSlot5, '4', "2519", kSectors512);
  set(kSlot6, '0', "2510", 250069680);
  set(kSlot7, '9', "2516", kSectors256);
  host.files = DefaultVirtualFiles(host);
  return host;
}

HostModel LocateRefusedHost() {
  HostModel host = DefaultHost();
  Fault refused;
  refused.kind = FaultKind::kAnswer;
  refused.function = 0x18;  // SCSI enclosure processor
  refused.iocStatus = 0x0043;
  refused.times = -1;
  host.faults.push_back(refused);
  return host;
}

const std::vector<NamedCard>& NamedCards() {
  static const std::vector<NamedCard> cards = {
      {"default", DefaultHost},
      {"no-card", NoCardHost},
      {"unconfigured", UnconfiguredHost},
      {"board-type-9", BoardType9Host},
      {"degraded", DegradedHost},
      {"module-missing", ModuleMissingHost},
      {"health-warning", HealthWarningHost},
      {"health-error", HealthErrorHost},
      {"locked-module", LockedModuleHost},
      {"smart-fails", SmartFailsHost},
      {"supercap-busy", SuperCapBusyHost},
      {"no-aux-power", NoAuxPowerHost},
      {"unconfigured-five", UnconfiguredFiveHost},
      {"unconfigured-three", UnconfiguredThreeHost},
      {"sas-module", SasModuleHost},
      {"two-cards", TwoCardsHost},
      {"no-page-223", NoPage223Host},
      {"sysfs-slot", SysfsSlotHost},
      {"mixed-modules", MixedModulesHost},
      {"locate-refused", LocateRefusedHost},
      {"two-good-cards", TwoGoodCardsHost},
  };
  return cards;
}

bool BuildNamedCard(const std::string& name, HostModel* out) {
  for (const NamedCard& card : NamedCards()) {
    if (name == card.name) {
      *out = card.build();
      return true;
    }
  }
  return false;
}

}  // namespace emu
