// Which control nodes are searched and which adapters are kept when the
// discovery filter (flag bit 31) is on.
#include "ctl/discovery/discovery.h"

namespace {

constexpr const char* kControlNodes[kControlNodeCount] = {
    "/dev/qmx2ctl_cx",
    "/dev/qmx2ctl",
    "/dev/qvsactl",
    "/dev/qmx3ctl",
};

}  // namespace

const char* ControlNodePath(uint32_t index) {
  return index < kControlNodeCount ? kControlNodes[index] : nullptr;
}

bool ControlNodeSearched(uint32_t index, uint32_t flags) {
  if (!(flags & kDiscoverFilter)) return index < kControlNodeCount;
  switch (index) {
    case 0: return true;
    case 1: return (flags & (kDiscoverQmx2Family | kDiscoverCardFamily)) != 0;
    case 2: return (flags & kDiscoverQvsaFamily) != 0;
    case 3: return (flags & kDiscoverQmx3Family) != 0;
    default: return false;
  }
}

bool PassesDeviceIdFilter(uint32_t flags, uint32_t id) {
  if (!(flags & kDiscoverFilter)) return true;
  if (id == kChipFaDeviceId || id == kChipFbDeviceId) return (flags & kDiscoverQvsaFamily) != 0;
  if (IsQmx2FamilyChip(id)) return (flags & kDiscoverQmx2Family) != 0;
  if (id == kChipAbDeviceId) return (flags & (kDiscoverQmx2Family | kDiscoverCardFamily)) != 0;
  if (id == kCardDeviceId) return (flags & kDiscoverCardFamily) != 0;
  if (IsSecondGenerationChip(id)) return (flags & kDiscoverQmx3Family) != 0;
  return true;
}
