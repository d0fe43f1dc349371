// Physical-disk information is built from the RAID physical disk pages,
// which are not read yet: every request fails.
#include "ctl/raid_scan.h"

LibStatus GetPhysDiskInfo(LibContext*, const LibHandle*, uint32_t, const LibHandle*, uint32_t, PhysDiskInfo*,
                          uint32_t*) {
  return kLibFailure;
}
