#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/objects/object_tree.h"
#include "os/port.h"

LibStatus HardResetAdapter(LibContext* context, const LibHandle* adapter) {
  // The block needs the adapter's IOC number: no reset without its record.
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  int descriptor = -1;
  status = OpenAdapterNode(context, adapter, &descriptor);
  if (status != kLibOk) return status;
  uint8_t block[kHardResetBlockSize] = {};
  PutLe32(block, ioctl_header::kIocNumber, IocNumber(record));
  os::Port& port = os::ActivePort();
  int result = port.Ioctl(descriptor, kIoctlHardReset, block);
  port.CloseNode(descriptor);
  return static_cast<LibStatus>(result);
}

LibStatus ResetAdapterStub(LibContext*, const LibHandle*, uint32_t, uint32_t) { return kLibFailure; }
