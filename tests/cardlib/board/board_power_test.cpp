// SuperCap health and voltage, the GPIO inputs, the locate switch and the
// RAID action of the card's volume.
#include <gtest/gtest.h>

#include <vector>

#include "cardlib/libzk.h"
#include "emu/card_file/named_cards.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {

using cardlib_test::CardFile;
using cardlib_test::OpenCard;
using cardlib_test::OpenedCard;

class BoardPower : public ::testing::Test {
 protected:
  void SetUp() override { c_ = OpenCard(CardFile("default")); }
  void TearDown() override { EXPECT_EQ(emu::Current().OpenDescriptors(), 0); }

  emu::AdapterModel& Adapter() { return *c_.card->model().FirstAdapter(); }
  // Regenerates a page from the adapter's settings.
  void Regenerate(uint8_t type, uint8_t number) {
    emu::PageKey key{type, number, 0, 0};
    Adapter().pages[key] = emu::DefaultPages(Adapter())[key];
  }
  // The wear table of the worked example: 100 hours a step, 4 steps.
  void ExampleTable(uint8_t margin = 10) {
    Adapter().superCapIntervals = 4;
    Adapter().superCapMargin = margin;
    Adapter().superCapFloor = 20;
    Adapter().superCapStepHours = 100;
    Adapter().superCapTable = {100, 90, 80, 70, 60};
    Regenerate(9, 10);
  }
  size_t CountOperation(uint8_t operation) {
    size_t n = 0;
    for (const emu::IoUnitControlRecord& r : c_.card->IoUnitControls()) n += r.operation == operation;
    return n;
  }

  OpenedCard c_;
};

TEST_F(BoardPower, SuperCapHealthAgainstTheWearTable) {
  struct Case {
    uint16_t hours;
    uint16_t health;
    uint8_t margin;
    uint32_t statusIn;
    uint32_t status;
    uint16_t expected;  // 0xEEEE: not written
  };
  const Case cases[] = {
      {150, 80, 10, 0, 0, 85},       // E = 80 + 10 × 0.5, L = 85 − 8 = 77
      {150, 78, 10, 0, 0, 85},
      {150, 77, 10, 0, 1, 85},       // at the warning line
      {150, 76, 10, 0, 1, 85},
      {150, 76, 10, 2, 2, 85},       // an error stays an error
      {150, 20, 10, 0, 2, 0xEEEE},   // at the floor, without interpolation
      {0, 99, 10, 0, 0, 100},        // the first entry
      {399, 80, 10, 0, 0, 60},       // 60 + 10 × 0.01 truncated
      {400, 80, 10, 0, 0, 0xEEEE},   // the table's end: nothing more to expect
      {401, 80, 10, 1, 2, 0xEEEE},   // beyond it
      {150, 80, 150, 0, 0, 85},      // a margin above 100 puts the line below zero
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.hours << " h, health " << k.health << ", margin " << int{k.margin});
    ExampleTable(k.margin);
    Adapter().superCapHours = k.hours;
    Adapter().superCapHealth = k.health;
    uint16_t hours = 0xEEEE, expected = 0xEEEE, health = 0xEEEE;
    uint32_t status = k.statusIn;
    ASSERT_EQ(GetSuperCapHealth(c_.vx, &hours, &expected, &health, &status), 0u);
    EXPECT_EQ(hours, k.hours);
    EXPECT_EQ(health, k.health);
    EXPECT_EQ(expected, k.expected);
    EXPECT_EQ(status, k.status);
  }
}

TEST_F(BoardPower, SuperCapTablesThatCannotBeUsed) {
  // A step of 0, more entries than the page holds, no table marker, no page.
  ExampleTable();
  Adapter().superCapHealth = 80;
  Adapter().superCapHours = 150;
  std::vector<uint8_t> page = Adapter().FindPage(9, 10)->nvram;
  ASSERT_GE(page.size(), 62u);
  struct Case {
    const char* what;
    size_t at;
    uint8_t value;
  };
  const Case cases[] = {
      {"step 0", 54, 0}, {"step 0", 55, 0}, {"intervals past the page", 48, static_cast<uint8_t>((page.size() - 60) / 2)},
      {"marker", 4, 127},
  };
  std::vector<uint8_t> edited = page;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    edited[k.at] = k.value;
    if (k.at == 55) continue;  // both bytes of the step
    Adapter().SetPage(emu::PageKey{9, 10, 0, 0}, edited);
    uint16_t hours = 0, expected = 0xEEEE, health = 0xEEEE;
    uint32_t status = 0;
    EXPECT_EQ(GetSuperCapHealth(c_.vx, &hours, &expected, &health, &status), 1u);
    EXPECT_EQ(expected, 0xEEEE);
    EXPECT_EQ(health, 0xEEEE);
    EXPECT_EQ(status, 0u);
    edited = page;
  }
  // The last entry that fits the page is still used.
  edited[48] = static_cast<uint8_t>((page.size() - 60) / 2 - 1);
  Adapter().SetPage(emu::PageKey{9, 10, 0, 0}, edited);
  uint16_t hours = 0, expected = 0, health = 0;
  uint32_t status = 0;
  EXPECT_EQ(GetSuperCapHealth(c_.vx, &hours, &expected, &health, &status), 0u);

  c_.card->RemovePage(9, 10);
  EXPECT_EQ(GetSuperCapHealth(c_.vx, &hours, &expected, &health, &status), 1u);
}

TEST_F(BoardPower, SuperCapBusy) {
  uint16_t hours = 0, expected = 0, health = 0, voltage = 0;
  uint32_t status = 0;
  c_.card->SetSuperCapBusy(5);
  EXPECT_EQ(GetSuperCapHealth(c_.vx, &hours, &expected, &health, &status), 0u);
  EXPECT_EQ(CountOperation(145), 6u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 5000000u);

  c_.card->SetSuperCapBusy(1000);
  EXPECT_EQ(GetSuperCapVoltage(c_.vx, &voltage, &status), 1u);
  EXPECT_EQ(CountOperation(146), 30u);
  EXPECT_EQ(CountOperation(148), 0u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 5000000u + 30000000u);

  // Another IOCStatus is a failure at once.
  c_.card->SetSuperCapBusy(0);
  c_.card->AnswerFunction(0x1B, 0x0004, 0, 1);
  EXPECT_EQ(GetSuperCapHealth(c_.vx, &hours, &expected, &health, &status), 1u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 35000000u);
}

TEST_F(BoardPower, SuperCapVoltageAgainstItsThreshold) {
  struct Case {
    uint16_t voltage;
    uint32_t status;
  };
  const Case cases[] = {{4600, 0}, {4599, 2}, {5400, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.voltage);
    Adapter().superCapVoltage = k.voltage;
    Adapter().superCapVoltageThreshold = 4600;
    uint16_t voltage = 0;
    uint32_t status = 0;
    EXPECT_EQ(GetSuperCapVoltage(c_.vx, &voltage, &status), 0u);
    EXPECT_EQ(voltage, k.voltage);
    EXPECT_EQ(status, k.status);
  }
  EXPECT_EQ(CountOperation(149), 3u);
}

TEST_F(BoardPower, SuperCapTest) {
  EXPECT_EQ(StartSuperCapTest(c_.vx), 0u);
  Adapter().superCapTestStatus = 8;  // already running
  EXPECT_EQ(StartSuperCapTest(c_.vx), 0u);
  EXPECT_EQ(c_.card->waits(), (std::vector<uint64_t>{1000000, 1000000}));
  Adapter().superCapTestStatus = 0x0004;
  EXPECT_EQ(StartSuperCapTest(c_.vx), 1u);
  EXPECT_EQ(StartSuperCapTest(0x01000077), 1u);
  EXPECT_EQ(CountOperation(144), 3u);
}

TEST_F(BoardPower, GpioInputs) {
  uint32_t aux = 9, rail = 9;
  EXPECT_EQ(GetAuxPowerStatus(c_.vx, &aux), 0u);
  EXPECT_EQ(aux, 1u);
  EXPECT_EQ(GetBackupRailStatus(c_.vx, &rail), 0u);
  EXPECT_EQ(rail, 0u);
  Adapter().gpioAuxPower = 0;
  Adapter().gpioBackupRail = 1;
  Regenerate(0, 3);
  EXPECT_EQ(GetAuxPowerStatus(c_.vx, &aux), 0u);
  EXPECT_EQ(aux, 0u);
  EXPECT_EQ(GetBackupRailStatus(c_.vx, &rail), 0u);
  EXPECT_EQ(rail, 1u);
  EXPECT_EQ(GetAuxPowerStatus(c_.vx, nullptr), 1u);
}

TEST_F(BoardPower, GpioEntriesThePageDoesNotCover) {
  struct Case {
    uint8_t count;
    uint32_t cutTo;  // 0: the whole page
    uint32_t aux;
    uint32_t rail;
  };
  const Case cases[] = {
      {26, 0, 0, 0}, {25, 0, 1, 0}, {24, 0, 1, 1}, {0, 0, 1, 1},
      {26, 60, 0, 0},  // entries 24 and 25 end at byte 60
      {26, 56, 1, 1},  // the page ends before entry 24
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "count " << int{k.count} << " cut " << k.cutTo);
    c_.card->ClearFaults();
    Adapter().gpioCount = k.count;
    Regenerate(0, 3);
    if (k.cutTo != 0) c_.card->CutPage(0, 3, 0, k.cutTo);
    uint32_t value = 9;
    EXPECT_EQ(GetAuxPowerStatus(c_.vx, &value), k.aux);
    EXPECT_EQ(GetBackupRailStatus(c_.vx, &value), k.rail);
  }
  c_.card->ClearFaults();
  c_.card->RemovePage(0, 3);
  uint32_t value = 9;
  EXPECT_EQ(GetAuxPowerStatus(c_.vx, &value), 1u);
  EXPECT_EQ(GetBackupRailStatus(c_.vx, &value), 1u);
  EXPECT_EQ(value, 9u);
}

TEST_F(BoardPower, LocateOnAndOff) {
  uint32_t before = c_.card->SlotStatus(4);
  EXPECT_EQ(LibZKLocateCard(0, 1), 0u);
  EXPECT_EQ(c_.card->SlotStatus(4), before | 0x00020000u);
  EXPECT_EQ(c_.card->SlotStatus(5) & 0x00020000u, 0u);  // one module marks the card
  EXPECT_EQ(LibZKLocateCard(0, 0), 0u);
  EXPECT_EQ(c_.card->SlotStatus(4), before);
  EXPECT_EQ(LibZKLocateCard(1, 1), 1u);
}

TEST_F(BoardPower, LocateJudgesTheEnclosureReplies) {
  // Every slot status read refused: no write follows, no module takes it.
  c_.card->ClearLog();
  c_.card->AnswerFunction(0x18, 0x0043, 0, -1);
  EXPECT_EQ(LibZKLocateCard(0, 1), 1u);
  EXPECT_EQ(c_.card->CountFunction(0x18), 4u);
  c_.card->ClearFaults();
  // The first module refuses, the next one is marked.
  c_.card->AnswerFunction(0x18, 0x0043, 0, 1);
  EXPECT_EQ(LibZKLocateCard(0, 1), 0u);
  EXPECT_EQ(c_.card->SlotStatus(4) & 0x00020000u, 0u);
  EXPECT_NE(c_.card->SlotStatus(5) & 0x00020000u, 0u);
}

TEST_F(BoardPower, RaidActionToTheVolume) {
  // Reading the volume asks its indicator too; the action sent is the last.
  EXPECT_EQ(SendModuleRaidAction(c_.vx, 0, 1), 0u);
  ASSERT_FALSE(c_.card->RaidActions().empty());
  EXPECT_EQ(c_.card->RaidActions().back().action, 1u);
  EXPECT_EQ(c_.card->RaidActions().back().volumeDevHandle, c_.card->FirstVolume()->devHandle);
  EXPECT_EQ(c_.card->RaidActions().back().actionDataWord, 0u);
  EXPECT_EQ(c_.card->log().back().timeoutSeconds, 60u);
  // Activating an active volume is refused.
  EXPECT_EQ(SendModuleRaidAction(c_.vx, 0, 17), 1u);
  EXPECT_EQ(c_.card->RaidActions().back().action, 17u);
  size_t sent = c_.card->RaidActions().size();
  EXPECT_EQ(SendModuleRaidAction(c_.vx, 1, 1), 1u);
  EXPECT_EQ(c_.card->RaidActions().size(), sent);
}

}  // namespace
