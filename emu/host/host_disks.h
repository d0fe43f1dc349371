// The SCSI devices the kernel sees on the cards, in the order it finds
// them: per adapter (nodes and adapters in the model's order) its bare
// modules and the volumes that present a target, by the driver's channel
// and target id. The kernel's list (/proc/scsi/scsi) and the sysfs tree
// (block devices with their bsg addresses and sizes) are both made from
// this one list, so they always agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

struct HostDisk {
  std::string node;                     // the control node of the adapter
  const AdapterModel* adapter = nullptr;
  uint32_t host = 0;                    // the SCSI host number (the adapter's scsi-host)
  uint32_t channel = 0, id = 0;         // the driver's bus and target (LUN 0)
  const ModuleModel* module = nullptr;  // a bare module ...
  const VolumeModel* volume = nullptr;  // ... or a volume
  std::string name;                     // the block device: sda, sdb, ... in this order
  uint64_t sectors = 0;                 // its size in 512-byte sectors, whatever the block length
};

// The pointers are into `host` and valid while it is unchanged.
std::vector<HostDisk> HostDisks(const HostModel& host);
// The kernel's name of the disk with this index: sda ... sdz, sdaa ... sdzz, sdaaa ...
std::string DiskName(uint32_t index);

}  // namespace emu
