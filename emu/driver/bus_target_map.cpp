// Bus/target to DevHandle mapping: the driver's table of the devices it
// knows (modules, RAID members among them, and volumes; DriverTargets). Asked with bus and target all ones it answers them for the
// DevHandle; asked with DevHandle 0xFFFF it answers the DevHandle for the bus
// and target. Anything else, or nothing that maps, fails with EINVAL.
#include <cerrno>

#include "emu/raid/device_rules.h"
#include "emu/controller/handlers.h"
#include "emu/driver/ioctl_blocks.h"
#include "emu/host/le_bytes.h"

namespace emu::driver {

int MapBusTarget(const AdapterModel& adapter, uint8_t* block) {
  namespace bt = ioctl::bus_target;
  uint32_t target = le::Get32(block + bt::kTarget);
  uint32_t bus = le::Get32(block + bt::kBus);
  uint16_t devHandle = le::Get16(block + bt::kDevHandle);
  std::vector<BusTargetEntry> table = DriverTargets(adapter);
  if (bus == 0xFFFFFFFF && target == 0xFFFFFFFF && devHandle != 0xFFFF) {
    for (const BusTargetEntry& entry : table) {
      if (entry.devHandle == devHandle) {
        le::Put32(block + bt::kTarget, entry.target);
        le::Put32(block + bt::kBus, entry.bus);
        return 0;
      }
    }
    return EINVAL;
  }
  if (devHandle == 0xFFFF && bus != 0xFFFFFFFF && target != 0xFFFFFFFF) {
    for (const BusTargetEntry& entry : table) {
      if (entry.bus == bus && entry.target == target) {
        le::Put16(block + bt::kDevHandle, entry.devHandle);
        return 0;
      }
    }
    return EINVAL;
  }
  return EINVAL;
}

}  // namespace emu::driver
