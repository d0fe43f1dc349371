// Device information is filled by the device identification, which is not
// built yet: every request fails.
#include "ctl/device_scan.h"

LibStatus GetDeviceInfo(LibContext*, uint32_t, const LibHandle*, const LibHandle*, DeviceInfoBlock*,
                        uint32_t) {
  return kLibFailure;
}
