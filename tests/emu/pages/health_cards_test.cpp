// The named cards for the health report show what their names say, read
// back from raw frames as the health report would read them.
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

class HealthCards : public ModuleFixture {
 protected:
  // The normalized value of an attribute in a module's SMART data, or -1.
  int Normalized(uint16_t handle, uint8_t id) {
    Sent s = Run(handle, SmartFis(0xD0, 0, 1), 512);
    if (!Succeeded(s)) return -1;
    for (int i = 0; i < 30; ++i) {
      if (s.dataIn[2 + 12 * i] == id) return s.dataIn[2 + 12 * i + 3];
    }
    return -1;
  }
  size_t Devices() {
    uint16_t end;
    return Walk(15, 0, 0x12, 0xFFFF, 24, false, &end).size();
  }
};

TEST_F(HealthCards, ModuleWarningsAndErrors) {
  EXPECT_EQ(Normalized(kSlot5, 231), 96);
  EXPECT_EQ(Normalized(kSlot5, 194), 38);
  Use(emu::HealthWarningHost());
  EXPECT_EQ(Normalized(kSlot5, 231), 15);
  EXPECT_EQ(Normalized(kSlot5, 194), 75);
  EXPECT_EQ(Normalized(kSlot4, 231), 96);
  Use(emu::HealthErrorHost());
  EXPECT_EQ(Normalized(kSlot5, 231), 5);
  EXPECT_EQ(Normalized(kSlot5, 194), 85);
  Sent health = Send(IoUnitControl(145));
  EXPECT_EQ(Get16(health.reply, 12), 35);
  EXPECT_LT(Get16(health.reply, 12), Get16(Page(9, 10), 50));  // below the table's floor
}

TEST_F(HealthCards, LockedAndFailingModules) {
  Use(emu::LockedModuleHost());
  EXPECT_EQ(Word(kSlot6, 128) & 0x0004, 0x0004);
  EXPECT_EQ(Word(kSlot5, 128) & 0x0004, 0);
  EXPECT_EQ(Send(ScsiCommand(kSlot6, Inquiry(), 96, 0x16)).dataIn.at(57) & 1, 0);  // the lock test runs
  Use(emu::SmartFailsHost());
  EXPECT_EQ(Normalized(kSlot6, 231), -1);
  EXPECT_EQ(Normalized(kSlot7, 231), 96);
  EXPECT_TRUE(Succeeded(Identify(kSlot6)));
}

TEST_F(HealthCards, UnconfiguredCardsWithTheWrongModuleCount) {
  struct Case {
    emu::HostModel (*host)();
    size_t modules;
  } cases[] = {{emu::UnconfiguredFiveHost, 5}, {emu::UnconfiguredThreeHost, 3}};
  for (const auto& [host, modules] : cases) {
    Use(host());
    EXPECT_EQ(Devices(), modules);
    EXPECT_EQ(Page(1, 6).at(8), 4);  // what IOC page 6 expects
    EXPECT_EQ(Get32(Page(9, 10), 24) & 3u, 1u);
    EXPECT_EQ(Status(15, 0, 0x16, 0x20000000), 0x0022);  // no RAID configuration
  }
  Use(emu::UnconfiguredFiveHost());
  EXPECT_TRUE(Succeeded(Identify(0x0D)));  // the fifth module, in slot 3
  EXPECT_EQ(card().Module(3)->devHandle, 0x0D);
}

}  // namespace
