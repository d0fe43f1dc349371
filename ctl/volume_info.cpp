// Volume information is built from the RAID volume pages, which are not read
// yet: every request fails.
#include "ctl/raid_scan.h"

LibStatus GetVolumeInfo(LibContext*, const LibHandle*, uint32_t, const LibHandle*, uint32_t, VolumeInfo*,
                        uint32_t*) {
  return kLibFailure;
}
