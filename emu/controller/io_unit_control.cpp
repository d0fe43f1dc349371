// SAS IO unit control (0x1B): the controller-wide operations (clear the
// persistent mappings, force a full discovery, fast path on or off for all
// devices), the device operations (remove device, fast path for one
// device), the phy operations (link reset, hard reset, clear error log) and
// the vendor operations from 0x80, each answered by its handler in the
// emulator's table (success and value 0 when it has none). Every request is
// recorded.
#include "emu/pages/default_pages.h"
#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"
#include "emu/controller/qmx_frames.h"

namespace emu {
namespace {

namespace io = qmx::io_unit_control;

void IoUnitControl(CommandRequest& request, CommandAnswer& answer) {
  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, io::kReplyBytes);
  IoUnitControlRecord record;
  record.operation = le::Get8(request.frame, io::kOperation);
  record.devHandle = le::Get16(request.frame, io::kDevHandle);
  record.phy = le::Get8(request.frame, io::kPhy);
  le::Put8(&reply, io::kReplyOperation, record.operation);
  le::Put16(&reply, io::kReplyDevHandle, record.devHandle);

  uint16_t status = kIocSuccess;
  uint32_t logInfo = 0;
  switch (record.operation) {
    case io::kClearPersistentMappings:
    case io::kForceFullDiscovery:
    case io::kEnableFastPathAll:
    case io::kDisableFastPathAll:
      break;
    case io::kRemoveDevice:
    case io::kEnableFastPath:
    case io::kDisableFastPath: {
      DeviceRef ref = FindDevice(request.adapter, record.devHandle);
      if (ref.kind != DeviceKind::kModule && ref.kind != DeviceKind::kRaidDisk) status = kIocDeviceNotThere;
      break;
    }
    case io::kPhyLinkReset:
    case io::kPhyHardReset:
    case io::kClearPhyErrorLog:
      if (record.phy >= kCardPhys) status = kIocInvalidField;
      break;
    default:
      if (record.operation < io::kFirstVendor) {
        status = kIocInvalidField;
      } else if (const IoUnitVendorHandler* vendor =
                     request.emulator.FindIoUnitVendorOperation(record.operation)) {
        VendorOperationAnswer a = (*vendor)(request);
        status = a.iocStatus;
        logInfo = a.logInfo;
        le::Put16(&reply, io::kReplyValue, a.value);
        record.value = a.value;
      }
      break;
  }
  SetReplyStatus(&reply, status, logInfo);
  record.iocStatus = le::Get16(reply, qmx::reply::kIocStatus);
  request.runtime.ioUnitControls.push_back(record);
}

}  // namespace

FunctionHandler IoUnitControlHandler() { return {io::kRequestBytes, IoUnitControl}; }

}  // namespace emu
