#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/objects/object_tree.h"

namespace {
constexpr uint32_t kUnknownLocation = 0xFFFFFFFF;
constexpr uint16_t kUnknownDevHandle = 0xFFFF;
}  // namespace

LibStatus MapBusTargetHandle(LibContext* context, const LibHandle* adapter, uint32_t* bus,
                             uint32_t* target, uint16_t* devHandle) {
  if (bus == nullptr || target == nullptr || devHandle == nullptr) return kLibBadParameter;
  bool askLocation = *bus == kUnknownLocation && *target == kUnknownLocation && *devHandle < kUnknownDevHandle;
  bool askDevHandle = *devHandle == kUnknownDevHandle && *bus < kUnknownLocation && *target < kUnknownLocation;
  if (!askLocation && !askDevHandle) return kLibBadParameter;

  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  uint8_t block[map_block::kSize] = {};
  PutLe32(block, ioctl_header::kIocNumber, IocNumber(record));
  PutLe32(block, ioctl_header::kMaxDataSize, map_block::kSize);
  PutLe32(block, map_block::kTarget, *target);
  PutLe32(block, map_block::kBus, *bus);
  PutLe16(block, map_block::kDevHandle, *devHandle);
  status = AdapterIoctl(context, adapter, block, kIoctlMapBusTarget);
  if (status != kLibOk) return status;
  if (askLocation) {
    *bus = GetLe32(block, map_block::kBus);
    *target = GetLe32(block, map_block::kTarget);
  } else {
    *devHandle = GetLe16(block, map_block::kDevHandle);
  }
  return kLibOk;
}
