// IOC information: what the driver knows of an adapter without asking it.
#include <cstring>

#include "emu/controller/handlers.h"
#include "emu/driver/ioctl_blocks.h"
#include "emu/host/le_bytes.h"

namespace emu::driver {

int IocInformation(const AdapterModel& a, uint8_t* block) {
  namespace info = ioctl::ioc_info;
  le::Put32(block + info::kAdapterType, a.adapterType);
  le::Put32(block + info::kPortNumber, a.port);
  le::Put32(block + info::kPciDeviceId, a.pciDeviceId);
  le::Put32(block + info::kHardwareRevision, a.hardwareRevision);
  le::Put32(block + info::kSubsystemDevice, a.subsystemDeviceId);
  le::Put32(block + info::kSubsystemVendor, a.subsystemVendorId);
  le::Put32(block + info::kReserved, a.reservedWord);
  le::Put32(block + info::kFirmwareVersion, a.firmwareVersion);
  le::Put32(block + info::kBiosVersion, a.biosVersion);
  std::memset(block + info::kDriverVersion, 0, info::kDriverVersionBytes);
  std::memcpy(block + info::kDriverVersion, a.driverVersion.data(),
              std::min<size_t>(a.driverVersion.size(), info::kDriverVersionBytes - 1));
  block[info::kReserved1] = 0;
  block[info::kScsiId] = a.scsiId;
  le::Put16(block + info::kReserved2, 0);
  le::Put32(block + info::kPciLocation, a.PciLocation());
  le::Put32(block + info::kPciSegment, a.pciSegment);
  return 0;
}

}  // namespace emu::driver
