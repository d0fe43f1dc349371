// SCSI task management (0x01). Nothing is ever outstanding, so the aborts,
// clears and queries complete with no task terminated; a target or logical
// unit reset leaves the target a UNIT ATTENTION (bus device reset occurred)
// for its next command. Every request is recorded.
#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

namespace tm = qmx::task_management;

TargetSense* SenseOf(const DeviceRef& ref) {
  if (ref.module != nullptr) return &ref.module->sense;
  if (ref.volume != nullptr) return &ref.volume->sense;
  return nullptr;
}

void TaskManagement(CommandRequest& request, CommandAnswer& answer) {
  const std::vector<uint8_t>& frame = request.frame;
  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, tm::kReplyBytes);
  TaskManagementRecord record;
  record.devHandle = le::Get16(frame, tm::kDevHandle);
  record.taskType = le::Get8(frame, tm::kTaskType);
  record.messageFlags = le::Get8(frame, tm::kMessageFlags);
  bool lunZero = true;
  for (uint32_t i = 0; i < tm::kLunBytes; ++i) {
    record.lun.push_back(le::Get8(frame, tm::kLun + i));
    lunZero &= record.lun.back() == 0;
  }
  le::Put16(&reply, tm::kReplyDevHandle, record.devHandle);
  le::Put8(&reply, tm::kReplyTaskType, record.taskType);

  DeviceRef ref = FindDevice(request.adapter, record.devHandle);
  TargetSense* sense = SenseOf(ref);
  if (sense == nullptr) {
    record.iocStatus = kIocDeviceNotThere;
  } else {
    uint8_t type = record.taskType;
    bool lunTask = type == 1 || type == 2 || (type >= 5 && type <= 10);
    if (!lunTask && type != tm::kTargetReset) {
      record.responseCode = tm::kResponseNotSupported;
    } else if (lunTask && !lunZero) {
      record.responseCode = tm::kResponseInvalidLun;
    } else {
      record.responseCode = tm::kResponseComplete;
      if (type == tm::kTargetReset || type == tm::kLogicalUnitReset) {
        sense->unitAttention = true;
        sense->unitAttentionCode = SenseCode{0x06, 0x29, 0x03};
      }
    }
  }
  le::Put8(&reply, tm::kReplyResponseCode, record.responseCode);
  le::Put32(&reply, tm::kReplyTerminationCount, 0);
  SetReplyStatus(&reply, record.iocStatus);
  request.runtime.taskManagements.push_back(std::move(record));
}

}  // namespace

FunctionHandler TaskManagementHandler() { return {tm::kRequestBytes, TaskManagement}; }

}  // namespace emu
