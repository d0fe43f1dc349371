#include "cardlib/board/supercap_table.h"

#include "cardlib/board/board_power.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/manufacturing_pages.h"

namespace {

void Raise(uint32_t* status, uint32_t to) {
  if (*status < to) *status = to;
}

}  // namespace

uint32_t JudgeSuperCapHealth(const uint8_t* page, uint32_t pageSize, uint16_t powerOnHours, uint16_t health,
                             uint16_t* expectedHealth, uint32_t* status) {
  using namespace manufacturing_page10;
  if (pageSize <= kSignature || Get8(page, kSignature) != kSignatureValue) return 1;
  if (pageSize < kWearHeaderBytes) return 1;
  uint32_t intervals = Get8(page, kWearIntervals);
  int32_t margin = Get8(page, kWearMargin);
  uint16_t floor = GetLe16(page, kWearFloor);
  uint32_t step = GetLe16(page, kWearStep);
  if (health <= floor) {
    *status = kBoardStatusError;
    return 0;
  }
  // The interval comes from a division by the step, the expected health
  // from entries i and i + 1 of the table.
  if (step == 0) return 1;
  if (pageSize < kWearExpected + 2 * (intervals + 1)) return 1;
  uint32_t hours = powerOnHours;
  uint32_t i = hours / step;
  if (i < intervals) {
    int32_t upper = GetLe16(page, kWearExpected + 2 * i);
    int32_t lower = GetLe16(page, kWearExpected + 2 * (i + 1));
    uint32_t x = step * (i + 1);
    float fraction = static_cast<float>(x - hours) / static_cast<float>(step);
    auto expected = static_cast<int32_t>(static_cast<float>(lower) + static_cast<float>(upper - lower) * fraction);
    *expectedHealth = static_cast<uint16_t>(expected);
    int32_t warningLine = expected - (expected * margin) / 100;
    if (static_cast<int32_t>(health) <= warningLine) Raise(status, kBoardStatusWarning);
  } else if (hours > step * intervals) {
    *status = kBoardStatusError;
  }
  return 0;
}
