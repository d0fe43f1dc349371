#include "emu/named_cards.h"

#include "emu/device_rules.h"
#include "emu/smart_attributes.h"

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
