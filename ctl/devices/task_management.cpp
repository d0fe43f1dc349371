#include "ctl/base/byte_order.h"
#include "ctl/devices/device_senders.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/task_management_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/base/request_helpers.h"

namespace {

enum class TaskFrame { kWithLun, kTargetOnly, kRefused };

TaskFrame FrameOfTask(uint8_t taskType) {
  switch (taskType) {
    case kTaskAbortTask:
    case kTaskAbortTaskSet:
    case kTaskLogicalUnitReset:
    case kTaskClearTaskSet:
    case kTaskQueryTask:
    case kTaskClearAca:
    case kTaskQueryTaskSet:
    case kTaskQueryAsyncEvent: return TaskFrame::kWithLun;
    case kTaskTargetReset: return TaskFrame::kTargetOnly;
    default: return TaskFrame::kRefused;
  }
}

}  // namespace

LibStatus TaskManagement(LibContext* context, const LibHandle* adapter, uint32_t target, uint8_t lun,
                         const LibHandle* device, uint8_t taskType, uint8_t msgFlags, uint8_t* responseCode,
                         uint32_t* terminationCount, IocStatusInfo* status) {
  LibStatus result = FindAdapter(context, adapter, nullptr);
  if (result != kLibOk) return result;
  DeviceRecord* d = nullptr;
  result = device != nullptr ? FindDevice(context, device, &d, nullptr)
                             : FindDeviceByBusTargetLun(context, adapter, &d, 0, target, lun);
  if (result != kLibOk) return result;

  uint8_t frame[task_frame::kRequestLength] = {};
  uint8_t reply[task_reply::kSize] = {};
  Put8(frame, task_frame::kFunction, kFunctionTaskManagement);
  Put8(frame, task_frame::kTaskType, taskType);
  Put8(frame, task_frame::kMsgFlags, msgFlags);
  switch (FrameOfTask(taskType)) {
    case TaskFrame::kWithLun:
      PutLe16(frame, task_frame::kDevHandle, DeviceDevHandle(d));
      Put8(frame, task_frame::kLunNumber, lun);
      break;
    case TaskFrame::kTargetOnly: PutLe16(frame, task_frame::kDevHandle, DeviceDevHandle(d)); break;
    case TaskFrame::kRefused: return kLibTaskTypeRefused;
  }

  QmxRequestBlock block;
  PrepareRequestBlock(&block, *adapter);
  block.requestLength = task_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = task_reply::kSize;
  block.reply = AddressOf(reply);
  result = IssueRequest(context, &block);
  if (result != kLibOk) return result;
  CopyStatusOut(status, block);
  if (responseCode != nullptr) *responseCode = Get8(reply, task_reply::kResponseCode);
  if (terminationCount != nullptr) *terminationCount = GetLe32(reply, task_reply::kTerminationCount);
  return kLibOk;
}
