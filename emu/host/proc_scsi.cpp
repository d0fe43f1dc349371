// /proc/scsi/scsi as the kernel writes it: the SCSI devices of every host,
// here the bare modules (channel 0, id = slot) and the volumes with a
// target (channel 1) of each adapter, from the same list as the sysfs tree.
#include <cstdio>

#include "emu/host/host_disks.h"
#include "emu/host/host_model.h"
#include "emu/modules/scsi_identity.h"

namespace emu {

std::string ProcScsiText(const HostModel& host) {
  std::string text = "Attached devices:\n";
  for (const HostDisk& d : HostDisks(host)) {
    std::string vendor = d.module != nullptr ? ModuleVendor(*d.module) : kVolumeVendor;
    std::string model = d.module != nullptr ? ModuleProduct(*d.module) : kVolumeProduct;
    std::string revision = d.module != nullptr ? ModuleRevision(*d.module) : kVolumeRevision;
    uint8_t version = d.module != nullptr ? kModuleScsiVersion : kVolumeScsiVersion;
    char head[96];
    std::snprintf(head, sizeof head, "Host: scsi%u Channel: %02u Id: %02u Lun: %02u\n", d.host, d.channel,
                  d.id, 0u);
    char type[96];
    // The kernel prints the SCSI level less one: the INQUIRY version.
    std::snprintf(type, sizeof type, "  Type:   %-17s                ANSI  SCSI revision: %02x\n",
                  "Direct-Access", version);
    text += std::string(head) + "  Vendor: " + Padded(vendor, 8) + " Model: " + Padded(model, 16) +
            " Rev: " + Padded(revision, 4) + "\n" + type;
  }
  return text;
}

}  // namespace emu
