// Device information on request: a device that was not identified yet is
// identified first.
#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/devices/device_scan.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/objects/object_tree.h"

namespace {

constexpr char kUnknownDeviceText[] = "Unknown device type";

LibStatus IdentifyOnRequest(LibContext* context, AdapterRecord* adapter, DeviceRecord* device) {
  uint8_t* block = device->info.bytes;
  PutLe32(block, device_info::kPartSize, kDevicePartSize);
  PutLe32(block, device_info::kBus, device->bus);
  PutLe32(block, device_info::kTarget, device->target);
  Put8(block, device_info::kLun, device->lun);
  LibHandle adapterHandle = adapter->header.handle;
  FillDevicePages2(context, &adapterHandle, device);
  LibStatus status = IdentifyDevice(context, device, adapter);
  if (status != kLibOk) return status;
  PutLe32(block, device_info::kExtraSize, kDeviceExtraPartSize);
  PutLe32(block, device_info::kDeviceType, device->peripheralType);
  if (device->peripheralType == inquiry_data::kTypeUnknown) {
    PutLe32(block, device_info::kUnknownType, 1);
    std::memset(block + device_info::kText, 0, device_info::kTextSize);
    std::memcpy(block + device_info::kText, kUnknownDeviceText, sizeof(kUnknownDeviceText));
  } else {
    status = ReadProcScsi(context, device);
  }
  if (status == kLibOk) device->identified = 1;
  return status;
}

}  // namespace

LibStatus GetDeviceInfo(LibContext* context, uint32_t index, const LibHandle* adapter, const LibHandle* device,
                        DeviceInfoBlock* block, uint32_t size) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  DeviceRecord* d = nullptr;
  if (device != nullptr) {
    status = FindDevice(context, device, &d, nullptr);
    if (status != kLibOk) return status;
  } else {
    d = a->devices;
    for (uint32_t i = 0; i < index && d != nullptr; ++i) d = d->next;
    if (d == nullptr) return kLibBadHandle;
  }
  if (!d->identified) {
    status = IdentifyOnRequest(context, a, d);
    if (status != kLibOk) return status;
  }
  if (block != nullptr) std::memcpy(block->bytes, d->info.bytes, std::min<uint32_t>(size, kDeviceInfoSize));
  return kLibOk;
}
