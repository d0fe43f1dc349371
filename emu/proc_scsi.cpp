// /proc/scsi/scsi as the kernel writes it: the SCSI devices of every host,
// here the bare modules (channel 0, id = slot) and the volumes with a
// target (channel 1) of each adapter, from the same state as the pages.
#include <algorithm>
#include <cstdio>

#include "emu/device_rules.h"
#include "emu/host_model.h"
#include "emu/scsi_identity.h"

namespace emu {
namespace {

struct Listed {
  uint32_t channel, id;
  std::string vendor, model, revision;
  uint8_t version;
};

std::string Entry(uint32_t host, const Listed& d) {
  char head[96];
  std::snprintf(head, sizeof head, "Host: scsi%u Channel: %02u Id: %02u Lun: %02u\n", host, d.channel,
                d.id, 0u);
  char type[96];
  // The kernel prints the SCSI level less one: the INQUIRY version.
  std::snprintf(type, sizeof type, "  Type:   %-17s                ANSI  SCSI revision: %02x\n",
                "Direct-Access", d.version);
  return std::string(head) + "  Vendor: " + Padded(d.vendor, 8) + " Model: " + Padded(d.model, 16) +
         " Rev: " + Padded(d.revision, 4) + "\n" + type;
}

}  // namespace

std::string ProcScsiText(const HostModel& host) {
  std::string text = "Attached devices:\n";
  for (const NodeModel& node : host.nodes) {
    for (const AdapterModel& adapter : node.adapters) {
      std::vector<Listed> listed;
      std::vector<BusTargetEntry> map = DriverTargets(adapter);
      auto where = [&](uint16_t handle, Listed* d) {
        for (const BusTargetEntry& e : map) {
          if (e.devHandle == handle) {
            d->channel = e.bus;
            d->id = e.target;
            return true;
          }
        }
        return false;
      };
      for (const ModuleModel& m : adapter.modules) {
        if (!ModuleAttached(adapter, m) || adapter.raid.FindDiskBySlot(m.slot) != nullptr) continue;
        Listed d{0, 0, ModuleVendor(m), ModuleProduct(m), ModuleRevision(m), kModuleScsiVersion};
        if (where(m.devHandle, &d)) listed.push_back(d);
      }
      for (const VolumeModel& v : adapter.raid.volumes) {
        if (!VolumeHasTarget(v)) continue;
        Listed d{0, 0, kVolumeVendor, kVolumeProduct, kVolumeRevision, kVolumeScsiVersion};
        if (where(v.devHandle, &d)) listed.push_back(d);
      }
      std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        return a.channel != b.channel ? a.channel < b.channel : a.id < b.id;
      });
      for (const Listed& d : listed) text += Entry(adapter.scsiHost, d);
    }
  }
  return text;
}

}  // namespace emu
