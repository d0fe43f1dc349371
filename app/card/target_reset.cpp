#include "app/card/target_reset.h"

#include "app/shell/memory_strings.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/task_management_frame.h"

uint32_t SendTargetReset(uint32_t adapter, uint16_t devHandle) {
  uint8_t frame[task_frame::kRequestLength] = {};
  PutLe16(frame, task_frame::kDevHandle, devHandle);
  Put8(frame, task_frame::kFunction, kFunctionTaskManagement);
  Put8(frame, task_frame::kTaskType, kTaskTargetReset);
  Put8(frame, task_frame::kMsgFlags, 0);
  uint8_t reply[task_reply::kSize] = {};
  QmxRequestBlock block;
  MemSet(&block, 0, sizeof block);
  block.size = kRequestBlockSize;
  block.adapterHandle = adapter;
  block.magic = kRequestBlockMagic;
  block.requestLength = task_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = sizeof reply;
  block.reply = AddressOf(reply);
  if (QmxIssueRequest(&block) != kLibOk) return 1;
  return block.status.iocStatus != 0 ? 1 : 0;
}
