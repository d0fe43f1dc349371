#include "cardlib/board/io_unit_poll.h"

#include "cardlib/board/board_power.h"
#include "cardlib/layouts/board_pages.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint32_t kBusyPolls = 30;
constexpr uint32_t kBusyWaitMs = 1000;
constexpr uint32_t kIocStatusBusy = 2;

}  // namespace

uint32_t ReadIoUnitValue(uint32_t vxHandle, uint8_t operation, uint16_t* value) {
  uint8_t reply[kIoUnitControlReplySize];
  IocStatusInfo status{};
  if (SendIoUnitControl(vxHandle, operation, reply, &status) != kLibOk || status.iocStatus != 0) return 1;
  *value = GetLe16(reply, io_unit_vendor_reply::kValue);
  return 0;
}

uint32_t PollIoUnitValue(uint32_t vxHandle, uint8_t operation, uint16_t* value) {
  uint8_t reply[kIoUnitControlReplySize];
  for (uint32_t poll = 0; poll < kBusyPolls; ++poll) {
    IocStatusInfo status{};
    if (SendIoUnitControl(vxHandle, operation, reply, &status) != kLibOk) return 1;
    if (status.iocStatus == 0) {
      *value = GetLe16(reply, io_unit_vendor_reply::kValue);
      return 0;
    }
    if (status.iocStatus != kIocStatusBusy) return 1;
    ZkSleepMs(kBusyWaitMs);
  }
  return 1;
}
