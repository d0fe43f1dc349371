// The disks the kernel finds on the cards. A module the RAID configuration
// holds is hidden from the host (the driver reports it as a RAID component
// and no disk driver attaches), a volume shows while it presents a target.
#include "emu/host/host_disks.h"

#include <algorithm>

#include "emu/raid/device_rules.h"

namespace emu {

std::string DiskName(uint32_t index) {
  // Letters as the disk driver names them: bijective base 26.
  std::string letters;
  uint64_t n = static_cast<uint64_t>(index) + 1;
  while (n > 0) {
    --n;
    letters.insert(letters.begin(), static_cast<char>('a' + n % 26));
    n /= 26;
  }
  return "sd" + letters;
}

std::vector<HostDisk> HostDisks(const HostModel& host) {
  std::vector<HostDisk> disks;
  for (const NodeModel& node : host.nodes) {
    for (const AdapterModel& adapter : node.adapters) {
      std::vector<BusTargetEntry> map = DriverTargets(adapter);
      auto place = [&](uint16_t handle, HostDisk* d) {
        for (const BusTargetEntry& e : map) {
          if (e.devHandle == handle) {
            d->channel = e.bus;
            d->id = e.target;
            return true;
          }
        }
        return false;
      };
      std::vector<HostDisk> found;
      for (const ModuleModel& m : adapter.modules) {
        if (!ModuleAttached(adapter, m) || adapter.raid.FindDiskBySlot(m.slot) != nullptr) continue;
        HostDisk d;
        d.module = &m;
        d.sectors = m.maxSectors * m.blockLength / 512;
        if (place(m.devHandle, &d)) found.push_back(d);
      }
      for (const VolumeModel& v : adapter.raid.volumes) {
        if (!VolumeHasTarget(v)) continue;
        HostDisk d;
        d.volume = &v;
        d.sectors = v.maxLba + 1;  // the volume's blocks are 512 bytes
        if (place(v.devHandle, &d)) found.push_back(d);
      }
      std::stable_sort(found.begin(), found.end(), [](const HostDisk& a, const HostDisk& b) {
        return a.channel != b.channel ? a.channel < b.channel : a.id < b.id;
      });
      for (HostDisk& d : found) {
        d.node = node.path;
        d.adapter = &adapter;
        d.host = adapter.scsiHost;
        d.name = DiskName(static_cast<uint32_t>(disks.size()));
        disks.push_back(std::move(d));
      }
    }
  }
  return disks;
}

}  // namespace emu
