// SuperCap health, voltage and test.
#include "cardlib/board/board_power.h"
#include "cardlib/board/io_unit_poll.h"
#include "cardlib/layouts/board_pages.h"
#include "cardlib/entry/os_wrappers.h"
#include "cardlib/board/supercap_table.h"
#include "ctl/frames/message_reply.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/config_frame.h"
#include "ctl/pages/manufacturing_pages.h"

namespace {

constexpr uint32_t kIocStatusTestStarted = 8;
constexpr uint32_t kTestSettleMs = 1000;

bool LastRequestClean() {
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  return last.iocStatus == 0;
}

// Manufacturing page 10 from NVRAM and its judgement of the health.
uint32_t JudgeAgainstPage10(uint32_t vx, uint16_t powerOnHours, uint16_t health, uint16_t* expectedHealth,
                            uint32_t* status) {
  PageCopy page;
  if (ReadConfigPageCopy(&vx, 0, kPageTypeManufacturing, manufacturing_page10::kNumber, 0, kReadNvram, &page) !=
          kLibOk ||
      !LastRequestClean()) {
    return 1;
  }
  return JudgeSuperCapHealth(page.data(), page.size(), powerOnHours, health, expectedHealth, status);
}

}  // namespace

uint32_t GetSuperCapHealth(uint32_t vxHandle, uint16_t* powerOnHours, uint16_t* expectedHealth,
                           uint16_t* currentHealth, uint32_t* status) {
  if (powerOnHours == nullptr || expectedHealth == nullptr || currentHealth == nullptr || status == nullptr) return 1;
  uint16_t health = 0;
  if (PollIoUnitValue(vxHandle, kSuperCapHealth, &health) != 0) return 1;
  uint16_t hours = 0;
  if (ReadIoUnitValue(vxHandle, kSuperCapPowerOnHours, &hours) != 0) return 1;
  *powerOnHours = hours;
  if (JudgeAgainstPage10(vxHandle, hours, health, expectedHealth, status) != 0) return 1;
  *currentHealth = health;
  return 0;
}

uint32_t GetSuperCapVoltage(uint32_t vxHandle, uint16_t* voltage, uint32_t* status) {
  if (voltage == nullptr || status == nullptr) return 1;
  uint16_t volts = 0;
  uint16_t threshold = 0;
  uint16_t unused = 0;
  if (PollIoUnitValue(vxHandle, kSuperCapVoltage, &volts) != 0) return 1;
  if (ReadIoUnitValue(vxHandle, kSuperCapVoltageThreshold, &threshold) != 0) return 1;
  if (ReadIoUnitValue(vxHandle, kSuperCapFurtherValue, &unused) != 0) return 1;
  *voltage = volts;
  if (volts < threshold) *status = kBoardStatusError;
  return 0;
}

uint32_t StartSuperCapTest(uint32_t vxHandle) {
  uint8_t reply[kIoUnitControlReplySize];
  IocStatusInfo status{};
  if (SendIoUnitControl(vxHandle, kSuperCapStartTest, reply, &status) != kLibOk) return 1;
  if (status.iocStatus != 0 && status.iocStatus != kIocStatusTestStarted) return 1;
  ZkSleepMs(kTestSettleMs);
  return 0;
}
