// The driver's ioctl entry: the descriptor, the request code, the block's
// IOC number, armed faults, then the handler of the request. Every call is
// logged and traced, failed or not.
#include <cerrno>
#include <cstring>

#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/driver/ioctl_blocks.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

struct IoctlEntry {
  uint32_t request;
  uint32_t loggedBytes;  // the fixed part of the block copied into the log
};

constexpr IoctlEntry kIoctls[] = {
    {ioctl::kIocInfo, ioctl::kIocInfoBytes},
    {ioctl::kCommand, ioctl::kCommandBytes},
    {ioctl::kHardReset, ioctl::kHardResetBytes},
    {ioctl::kBusTargetMap, ioctl::kBusTargetMapBytes},
    {ioctl::kDiagRegister, ioctl::kDiagRegisterBytes},
    {ioctl::kDiagUnregister, ioctl::kDiagUnregisterBytes},
    {ioctl::kDiagQuery, ioctl::kDiagQueryBytes},
    {ioctl::kDiagRead, ioctl::diag::kReadData},  // the head; the data may be shorter than a word
    {ioctl::kDiagRelease, ioctl::kDiagReleaseBytes},
    {ioctl::kEventQuery, ioctl::kEventQueryBytes},
    {ioctl::kEventEnable, ioctl::kEventEnableBytes},
    {ioctl::kEventReport, ioctl::header::kBytes},  // the head; the entries follow
};

const IoctlEntry* FindIoctl(uint32_t request) {
  for (const IoctlEntry& entry : kIoctls) {
    if (entry.request == request) return &entry;
  }
  return nullptr;
}

}  // namespace

int Emulator::Ioctl(int descriptor, uint32_t request, void* block) {
  LoggedCall call;
  call.request = request;
  auto fail = [&](int errorNumber) {
    call.errorNumber = errorNumber;
    lastError_ = errorNumber;
    Trace(call);
    log_.push_back(std::move(call));
    return -1;
  };

  auto open = descriptors_.find(descriptor);
  if (open == descriptors_.end()) return fail(EBADF);
  call.node = open->second.path;
  const IoctlEntry* entry = FindIoctl(request);
  // An unknown code, or a known number with another size: the driver's
  // switch on the whole request code does not know it.
  if (entry == nullptr) return fail(ENOTTY);
  uint8_t* bytes = static_cast<uint8_t*>(block);
  if (bytes == nullptr) return fail(EFAULT);
  call.ioc = le::Get32(bytes + ioctl::header::kIocNumber);
  call.block.assign(bytes, bytes + entry->loggedBytes);

  if (std::optional<Fault> fault = TakeIoctlFault(request, -1, call.ioc)) return fail(fault->errorNumber);

  NodeModel* node = model_.FindNode(call.node);
  AdapterModel* adapter = node == nullptr ? nullptr : node->FindAdapter(call.ioc);
  if (adapter == nullptr) return fail(ENODEV);
  AdapterRuntime& state = runtime(call.node, call.ioc);

  int result = 0;
  switch (request) {
    case ioctl::kIocInfo: result = driver::IocInformation(*adapter, bytes); break;
    case ioctl::kCommand: result = Command(call.node, *adapter, bytes, &call); break;
    case ioctl::kHardReset:
      result = driver::HardReset(*adapter, state, bytes);
      busyMicroseconds_ += uint64_t{driver::kHardResetSeconds} * 1000000;
      break;
    case ioctl::kBusTargetMap: result = driver::MapBusTarget(*adapter, bytes); break;
    case ioctl::kDiagRegister: result = driver::DiagRegister(state, bytes); break;
    case ioctl::kDiagUnregister: result = driver::DiagUnregister(state, bytes); break;
    case ioctl::kDiagQuery: result = driver::DiagQuery(state, bytes); break;
    case ioctl::kDiagRead: result = driver::DiagRead(*adapter, state, bytes); break;
    case ioctl::kDiagRelease: result = driver::DiagRelease(state, bytes); break;
    case ioctl::kEventQuery: result = driver::EventQuery(*adapter, bytes); break;
    case ioctl::kEventEnable: result = driver::EventEnable(*adapter, bytes); break;
    case ioctl::kEventReport: result = driver::EventReport(*adapter, bytes); break;
    default: result = ENOTTY; break;
  }
  if (result != 0) return fail(result);
  Trace(call);
  log_.push_back(std::move(call));
  return 0;
}

}  // namespace emu
