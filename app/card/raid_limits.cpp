#include "app/card/raid_limits.h"

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/shell/console.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/controller_limit_pages.h"

namespace {

// The bytes of IOC page 6 that the application reads (more than the
// library's own read).
constexpr uint32_t kIocPage6ReadSize = 60;
static_assert(ioc_page6::kMaxPhysDisks < kIocPage6ReadSize);

}  // namespace

uint8_t RaidExpectedMembers = kDefaultExpectedMembers;
uint8_t RaidMinMembers = kDefaultMinMembers;
uint8_t RaidMaxPhysDisks = kDefaultMaxPhysDisks;

void SetDefaultRaidLimits() {
  RaidExpectedMembers = kDefaultExpectedMembers;
  RaidMinMembers = kDefaultMinMembers;
  RaidMaxPhysDisks = kDefaultMaxPhysDisks;
}

void LoadIocPage6Limits(uint32_t adapter) {
  AppBuffer buffer(kIocPage6ReadSize);
  uint8_t* page = buffer.get();
  if (page == nullptr) {
    SetDefaultRaidLimits();
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return;
  }
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  uint32_t held = 0;
  if (GetCfgPage(adapter, kPageTypeIoc, ioc_page6::kNumber, 0, kIocPage6ReadSize, kConfigActionReadCurrent, page, 0,
                 &iocStatus, &iocLogInfo, &held) == 0 ||
      !PageHolds(held, ioc_page6::kMaxPhysDisks, 1)) {
    SetDefaultRaidLimits();
  } else {
    RaidExpectedMembers = Get8(page, ioc_page6::kMaxDrives + ioc_page6::kRaid0);
    RaidMinMembers = Get8(page, ioc_page6::kMinDrives + ioc_page6::kRaid0);
    RaidMaxPhysDisks = Get8(page, ioc_page6::kMaxPhysDisks);
  }
}
