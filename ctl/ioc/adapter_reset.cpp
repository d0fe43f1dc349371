#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/objects/object_tree.h"
#include "os/port.h"

LibStatus HardResetAdapter(LibContext* context, const LibHandle* adapter) {
  int descriptor = -1;
  LibStatus status = OpenAdapterNode(context, adapter, &descriptor);
  if (status != kLibOk) return status;
  AdapterRecord* record = nullptr;
  FindAdapter(context, adapter, &record);
  uint8_t block[kHardResetBlockSize] = {};
  PutLe32(block, ioctl_header::kIocNumber, IocNumber(record));
  os::Port& port = os::ActivePort();
  int result = port.Ioctl(descriptor, kIoctlHardReset, block);
  port.CloseNode(descriptor);
  return static_cast<LibStatus>(result);
}

LibStatus ResetAdapterStub(LibContext*, const LibHandle*, uint32_t, uint32_t) { return kLibFailure; }
