// The SAS IO unit control request as the SuperCap queries send it: the
// vendor operations answer their value in the reply, which the controller
// library's own sender does not hand back.
#include "cardlib/board/board_power.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"
#include "ctl/frames/io_unit_control_frame.h"
#include "ctl/frames/message_reply.h"
#include "ctl/facade/qmx.h"

static_assert(kIoUnitControlReplySize == io_unit_control_reply::kSize);

uint32_t SendIoUnitControl(uint32_t vxHandle, uint8_t operation, uint8_t* reply, IocStatusInfo* status) {
  if (reply == nullptr) return kLibBadParameter;
  uint8_t frame[io_unit_control_frame::kRequestLength] = {};
  Put8(frame, io_unit_control_frame::kOperation, operation);
  Put8(frame, io_unit_control_frame::kFunction, kFunctionSasIoUnitControl);
  ZkFill(reply, 0, kIoUnitControlReplySize);

  QmxRequestBlock block;
  ZkFill(&block, 0, sizeof(block));
  block.size = kRequestBlockSize;
  block.adapterHandle = vxHandle;
  block.magic = kRequestBlockMagic;
  block.requestLength = io_unit_control_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = kIoUnitControlReplySize;
  block.reply = AddressOf(reply);
  LibStatus result = QmxIssueRequest(&block);
  if (result == kLibOk && status != nullptr) {
    status->iocStatus = GetLe16(reply, message_reply::kIocStatus) & kIocStatusMask;
    status->iocLogInfo = GetLe32(reply, message_reply::kIocLogInfo);
  }
  return result;
}
