// SCSI commands to RAID physical disks go through the controller's RAID SCSI
// passthrough, which is not built yet: the request fails without being sent.
#include "ctl/scsi_io.h"

LibStatus RaidDiskScsiPassthrough(LibContext*, const LibHandle*, ScsiPassthroughRequest*) {
  return kLibFailure;
}
