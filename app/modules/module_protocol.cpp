#include "app/modules/module_protocol.h"

#include "app/card/device_protocol.h"
#include "cardlib/libzk.h"
#include "app/shell/memory_strings.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

uint32_t ModuleProtocol(uint32_t vxHandle, uint32_t ssdHandle, uint32_t* protocol) {
  *protocol = kProtocolSata;
  LibHandle adapter = vxHandle;
  LibHandle module = ssdHandle;
  uint16_t devHandle = 0;
  if (HandleKind(module) == kKindPhysDisk) {
    PhysDiskInfo disk;
    MemSet(&disk, 0, sizeof disk);
    uint32_t size = sizeof disk;
    if (QmxGetMemberDiskInfo(&module, 0, nullptr, 0, &disk, &size) != kLibOk) return 1;
    devHandle = GetLe16(disk.bytes, phys_disk_info::kDevHandle);
  } else {
    DeviceInfoBlock device;
    MemSet(&device, 0, sizeof device);
    uint32_t size = sizeof device;
    if (QmxGetDeviceInfo(0, &adapter, &module, &device, &size) != kLibOk) return 1;
    devHandle = GetLe16(device.bytes, device_info::kDevHandle);
  }
  return QueryDeviceProtocol(devHandle, vxHandle, protocol);
}

uint32_t DownloadModuleImage(uint32_t adapterIndex, uint8_t slot, uint32_t protocol, const uint8_t* image,
                             uint32_t size, uint8_t mode) {
  if (protocol == kProtocolSas) return LibZKSSDDownloadFirmwareScsi(adapterIndex, slot, image, size) == 0 ? 0 : 1;
  return LibZKSSDDownloadFirmware(adapterIndex, slot, image, size, mode) == 0 ? 0 : 1;
}
