// A module's capacity number, fixed by its configuration or measured from
// its diagnostic identify data, and the over-provisioning target LBA.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/format/ssd_capacity.h"
#include "app/card/config_code.h"
#include "card_fixture.h"
#include "cardlib/modules/module_handles.h"
#include "emu/card_file/named_cards.h"

namespace {

TEST(OpMaxLba, TargetsOfTheFixedLevels) {
  struct Case {
    uint32_t capacity, percentage, target;
  };
  const Case cases[] = {
      {256, 28, 390625000}, {256, 16, 431034476}, {512, 60, 625000000}, {400, 0, 781250000},
      {128, 28, 195312500}, {64, 1000, 11363637},
  };
  for (const Case& c : cases) EXPECT_EQ(OpMaxLba(c.capacity, c.percentage), c.target) << c.capacity << " " << c.percentage;
}

class SsdCapacity : public app_test::CardFixture {
 protected:
  // The default card with the module in slot 4 given another configuration.
  void StartWithModule(char type, const std::string& code, uint64_t sectors) {
    emu::HostModel host;
    ASSERT_TRUE(emu::BuildNamedCard("default", &host));
    emu::ModuleModel* m = host.FirstAdapter()->FindModule(4);
    ASSERT_NE(m, nullptr);
    m->modelType = type;
    m->configId = code;
    m->nativeSectors = sectors;
    m->maxSectors = sectors;
    Start(std::move(host));
    ASSERT_EQ(LibZKGetSSDHandle(adapter_, 4, &ssd_), 0u);
    card().ClearLog();
  }
  uint32_t ssd_ = 0;
};

TEST_F(SsdCapacity, FixedConfigurationsAskNothingOfTheModule) {
  StartWithModule('0', "2519", 250069680);
  struct Case {
    char type;
    const char* code;
    uint32_t capacity;
  };
  const Case cases[] = {{'4', "1591", 64},  {'8', "1591", 64},  {'3', "2512", 64},  {'1', "2514", 64},
                        {'5', "1506", 64},  {'4', "2519", 512}, {'6', "2525", 512}, {'0', "2519", 128},
                        {'9', "2518", 128}, {'9', "2516", 256}, {'1', "2519", 256}, {'5', "2526", 256},
                        {'1', "2532", 256}};
  for (const Case& c : cases) {
    uint32_t capacity = 0;
    EXPECT_EQ(GetSsdCapacity(adapter_, ssd_, static_cast<uint32_t>(c.type), ConfigCodeWord(c.code), 4, &capacity), 0u);
    EXPECT_EQ(capacity, c.capacity) << c.type << " " << c.code;
  }
  EXPECT_TRUE(card().log().empty());
}

TEST_F(SsdCapacity, OtherConfigurationsAreMeasuredOnTheUnlockedModule) {
  // 1000215216 sectors in single precision, times 512 bytes, in GiB: 476.9.
  StartWithModule('7', "2599", 1000215216);
  uint32_t capacity = 0;
  ASSERT_EQ(GetSsdCapacity(adapter_, ssd_, '7', ConfigCodeWord("2599"), 4, &capacity), 0u);
  EXPECT_EQ(capacity, 476u);
  // A type that matches only in its code (or the reverse) is measured too.
  capacity = 0;
  ASSERT_EQ(GetSsdCapacity(adapter_, ssd_, '2', ConfigCodeWord("2519"), 4, &capacity), 0u);
  EXPECT_EQ(capacity, 476u);
}

TEST_F(SsdCapacity, AModuleThatCannotBeMeasuredLeavesTheCapacity) {
  StartWithModule('7', "2599", 1000215216);
  card().SetModuleRefusing(4, true);
  uint32_t capacity = 12345;
  EXPECT_EQ(GetSsdCapacity(adapter_, ssd_, '7', ConfigCodeWord("2599"), 4, &capacity), 1u);
  EXPECT_EQ(capacity, 12345u);
  card().TakeOutput();
}

}  // namespace
