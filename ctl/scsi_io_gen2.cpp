// SCSI IO for adapters with second-generation frames. Those frames are not
// built yet: the request fails without being sent.
#include "ctl/scsi_io.h"

LibStatus SendScsiIoGen2(LibContext*, const LibHandle*, ScsiPassthroughRequest*) { return kLibFailure; }
