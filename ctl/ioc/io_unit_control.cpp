#include "ctl/base/byte_order.h"
#include "ctl/devices/device_senders.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/io_unit_control_frame.h"
#include "ctl/frames/message_reply.h"
#include "ctl/objects/object_tree.h"
#include "ctl/base/request_helpers.h"

namespace {

enum class Carries { kNothing, kDevHandle, kPhy, kRefused };

Carries WhatOperationCarries(uint8_t operation) {
  if (operation >= kIoUnitFirstVendorOperation) return Carries::kNothing;
  switch (operation) {
    case kIoUnitClearPersistent:
    case kIoUnitForceDiscovery:
    case kIoUnitEnableFastPathAll:
    case kIoUnitDisableFastPathAll: return Carries::kNothing;
    case kIoUnitRemoveDevice:
    case kIoUnitEnableFastPath:
    case kIoUnitDisableFastPath: return Carries::kDevHandle;
    case kIoUnitPhyLinkReset:
    case kIoUnitPhyHardReset:
    case kIoUnitPhyClearErrorLog: return Carries::kPhy;
    default: return Carries::kRefused;
  }
}

}  // namespace

LibStatus SasIoUnitControl(LibContext* context, const LibHandle* adapter, const LibHandle* device,
                           uint8_t operation, uint8_t phy, IocStatusInfo* status) {
  LibStatus result = FindAdapter(context, adapter, nullptr);
  if (result != kLibOk) return result;
  DeviceRecord* d = nullptr;
  if (device != nullptr) {
    result = FindDevice(context, device, &d, nullptr);
    if (result != kLibOk) return result;
  }
  uint8_t frame[io_unit_control_frame::kRequestLength] = {};
  uint8_t reply[io_unit_control_reply::kSize] = {};
  Put8(frame, io_unit_control_frame::kOperation, operation);
  Put8(frame, io_unit_control_frame::kFunction, kFunctionSasIoUnitControl);
  switch (WhatOperationCarries(operation)) {
    case Carries::kNothing: break;
    case Carries::kDevHandle:
      if (d == nullptr) return kLibBadHandle;
      PutLe16(frame, io_unit_control_frame::kDevHandle, DeviceDevHandle(d));
      break;
    case Carries::kPhy: Put8(frame, io_unit_control_frame::kPhyNumber, phy); break;
    case Carries::kRefused: return kLibBadParameter;
  }

  QmxRequestBlock block;
  PrepareRequestBlock(&block, *adapter);
  block.requestLength = io_unit_control_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = io_unit_control_reply::kSize;
  block.reply = AddressOf(reply);
  result = IssueRequest(context, &block);
  if (result == kLibOk) CopyStatusOut(status, block);
  return result;
}
