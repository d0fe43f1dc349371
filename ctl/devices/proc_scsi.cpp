// The kernel's list of SCSI devices, whose beginning a device's information
// carries as text.
#include <cstring>

#include "ctl/devices/device_scan.h"
#include "os/port.h"

namespace {
constexpr const char* kProcScsiPath = "/proc/scsi/scsi";
}

LibStatus ReadProcScsi(LibContext*, DeviceRecord* device) {
  if (device == nullptr) return kLibBadHandle;
  os::Port& port = os::ActivePort();
  os::PathStatus pathStatus;
  if (!port.Lstat(kProcScsiPath, &pathStatus) || pathStatus.isSymlink) return kLibFailure;
  std::unique_ptr<os::File> file = port.OpenFile(kProcScsiPath, "r");
  if (file == nullptr) return kLibFailure;
  char text[device_info::kTextSize] = {};
  size_t read = file->Read(text, sizeof(text) - 1);
  text[read] = '\0';
  std::memcpy(device->info.bytes + device_info::kText, text, sizeof(text));
  return kLibOk;
}
