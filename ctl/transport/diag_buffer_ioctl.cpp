#include <cerrno>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/diag_buffer_bodies.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/objects/object_tree.h"
#include "os/port.h"

namespace {

uint32_t DiagRequestCode(uint32_t operation) {
  switch (operation) {
    case kDiagOpRegister: return kIoctlDiagRegister;
    case kDiagOpUnregister: return kIoctlDiagUnregister;
    case kDiagOpQuery: return kIoctlDiagQuery;
    case kDiagOpRead: return kIoctlDiagRead;
    case kDiagOpRelease: return kIoctlDiagRelease;
    default: return 0;
  }
}

LibStatus MapDiagError(uint32_t operation, int error) {
  switch (error) {
    case EFAULT:
      if (operation == kDiagOpRegister) return kLibDiagBadAddress;
      if (operation == kDiagOpRelease) return kLibDiagRefused;
      return kLibIoctlFailed;
    case EPERM: return kLibDiagRefused;
    case ENOMEM:
    case EINVAL: return kLibDiagNoMemory;
    default: return kLibIoctlFailed;
  }
}

constexpr uint32_t kDiagStatedRoom = 15;

}  // namespace

LibStatus DiagBufferIoctl(LibContext* context, const LibHandle* adapter, uint32_t operation,
                          void* data, uint32_t length) {
  AdapterRecord* record = nullptr;
  LibStatus status = FindAdapter(context, adapter, &record);
  if (status != kLibOk) return status;
  uint32_t request = DiagRequestCode(operation);
  if (request == 0) return kLibBadParameter;
  if (length != 0 && data == nullptr) return kLibBadParameter;
  if (length > UINT32_MAX - kDiagStatedRoom) return kLibBadParameter;

  int descriptor = -1;
  status = OpenAdapterNode(context, adapter, &descriptor);
  if (status != kLibOk) return kLibNodeOpenFailed;
  os::Port& port = os::ActivePort();
  // The driver is told it may use length + 15 bytes while the block proper
  // is length + 12: the allocation covers the larger figure, so a driver that
  // honours the stated size never reaches past the block.
  LibBuffer block(context, size_t{length} + kDiagStatedRoom);
  if (!block) {
    port.CloseNode(descriptor);
    return kLibNoMemory;
  }
  uint8_t* b = block.get();
  PutLe32(b, ioctl_header::kIocNumber, IocNumber(record));
  PutLe32(b, ioctl_header::kMaxDataSize, length + kDiagStatedRoom);
  if (length != 0) std::memcpy(b + ioctl_header::kSize, data, length);

  int result = port.Ioctl(descriptor, request, b);
  if (result == 0) {
    if (length != 0) std::memcpy(data, b + ioctl_header::kSize, length);
    port.CloseNode(descriptor);
    return kLibOk;
  }
  int error = port.LastErrorNumber();
  port.CloseNode(descriptor);
  return MapDiagError(operation, error);
}
