// The SuperCap behind the SAS IO unit control vendor operations (value u16
// at reply byte 12, IOCStatus at 14), and the pages of the board's power
// protection and health thresholds: IO unit page 3 (GPIO count at 4, one
// u16 per GPIO from 8), IO unit page 8 (temperature thresholds u16 at
// 44/46 and 92/94), manufacturing page 6 (8-byte GPIO entries from 16),
// manufacturing page 10 (life thresholds at 56/57, the SuperCap table: n
// at 48, margin 49, floor u16 50, step u16 54, u16[n + 1] from 60).
#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

using namespace rawtest;

namespace {

using BoardPower = CardFixture;

TEST_F(BoardPower, SuperCapOperations) {
  struct Case {
    uint8_t operation;
    uint16_t value;
  } cases[] = {{145, 96}, {146, 5400}, {147, 8760}, {148, 4600}, {149, 2200}};
  for (const Case& c : cases) {
    Sent s = Send(IoUnitControl(c.operation));
    EXPECT_EQ(s.status(), 0) << int(c.operation);
    EXPECT_EQ(Get16(s.reply, 12), c.value) << int(c.operation);
  }
  EXPECT_EQ(Send(IoUnitControl(144)).status(), 0);
  adapter().superCapTestStatus = 8;  // a test is running
  EXPECT_EQ(Send(IoUnitControl(144)).status(), 0x0008);
  EXPECT_EQ(card().IoUnitControls()[1].value, 5400);

  adapter().superCapHealth = 35;
  adapter().superCapVoltage = 4500;
  EXPECT_EQ(Get16(Send(IoUnitControl(145)).reply, 12), 35);
  EXPECT_EQ(Get16(Send(IoUnitControl(146)).reply, 12), 4500);
}

TEST_F(BoardPower, HealthAndVoltageAnswerBusyWhileTheCountLasts) {
  card().SetSuperCapBusy(3);
  // The count is shared: voltage, voltage, health busy; then both answer.
  EXPECT_EQ(Send(IoUnitControl(146)).status(), 0x0002);
  EXPECT_EQ(Send(IoUnitControl(147)).status(), 0);  // hours are never busy
  EXPECT_EQ(Send(IoUnitControl(146)).status(), 0x0002);
  EXPECT_EQ(Send(IoUnitControl(145)).status(), 0x0002);
  Sent health = Send(IoUnitControl(145));
  EXPECT_EQ(health.status(), 0);
  EXPECT_EQ(Get16(health.reply, 12), 96);
  EXPECT_EQ(Send(IoUnitControl(146)).status(), 0);
  EXPECT_EQ(adapter().superCapBusy, 0u);
  // From the card file: five busy answers.
  Use(emu::SuperCapBusyHost());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Send(IoUnitControl(145)).status(), 0x0002) << i;
  EXPECT_EQ(Send(IoUnitControl(145)).status(), 0);
}

TEST_F(BoardPower, IoUnitPage3Gpios) {
  std::vector<uint8_t> page = Page(0, 3);
  ASSERT_EQ(page.size(), 60u);
  EXPECT_EQ(page[4], 26);
  EXPECT_EQ(Get16(page, 56) & 1, 0);  // GPIO 24: the backup rail is good
  EXPECT_EQ(Get16(page, 58) & 1, 1);  // GPIO 25: auxiliary power connected
  Use(emu::NoAuxPowerHost());
  EXPECT_EQ(Get16(Page(0, 3), 58) & 1, 0);
  // Fewer GPIOs: the page ends where they do.
  emu::HostModel host = emu::DefaultHost();
  host.FirstAdapter()->gpioCount = 24;
  host.FirstAdapter()->gpioBackupRail = 1;
  host.FirstAdapter()->pages = emu::DefaultPages(*host.FirstAdapter());
  Use(std::move(host));
  page = Page(0, 3);
  EXPECT_EQ(page[4], 24);
  EXPECT_EQ(page.size(), 56u);
  // Manufacturing page 6 still reaches both entries: count 24, fitted markers.
  std::vector<uint8_t> six = Page(9, 6);
  ASSERT_GE(six.size(), 224u);
  EXPECT_EQ(six[4], 24);
  EXPECT_EQ(six[208], 0x10);
  EXPECT_EQ(six[211], 0xCA);
  EXPECT_EQ(six[216], 0x13);
}

TEST_F(BoardPower, ThresholdPages) {
  std::vector<uint8_t> eight = Page(0, 8);
  ASSERT_EQ(eight.size(), 96u);
  for (size_t at : {44u, 92u}) {
    EXPECT_EQ(Get16(eight, at), 70);
    EXPECT_EQ(Get16(eight, at + 2), 80);
  }
  std::vector<uint8_t> ten = Page(9, 10);
  EXPECT_EQ(ten[4], 0x80);
  EXPECT_EQ(ten[56], 20);
  EXPECT_EQ(ten[57], 10);
  EXPECT_EQ(ten[48], 10);
  EXPECT_EQ(ten[49], 10);
  EXPECT_EQ(Get16(ten, 50), 40);
  EXPECT_EQ(Get16(ten, 54), 4380);
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(Get16(ten, 60 + 2 * i), 100 - 3 * i);

  // Settings from a card file change them.
  std::string text = emu::FormatHostFile(emu::DefaultHost());
  auto set = [&](const std::string& line, const std::string& to) { text.replace(text.find(line), line.size(), to); };
  set("life-left-warning = 20\n", "life-left-warning = 15\n");
  set("life-left-error = 10\n", "life-left-error = 5\n");
  set("temperature-warning = 70\n", "temperature-warning = 60\n");
  set("temperature-error = 80\n", "temperature-error = 75\n");
  set("supercap-intervals = 10\n", "supercap-intervals = 4\n");
  set("supercap-step-hours = 4380\n", "supercap-step-hours = 100\n");
  set("supercap-table = 100 97 94 91 88 85 82 79 76 73 70\n", "supercap-table = 100 90 80 70 60\n");
  emu::HostModel host;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(text, &host, &error)) << error;
  EXPECT_EQ(emu::FormatHostFile(host), text);
  Use(std::move(host));
  ten = Page(9, 10);
  EXPECT_EQ(ten[56], 15);
  EXPECT_EQ(ten[57], 5);
  EXPECT_EQ(ten[48], 4);
  EXPECT_EQ(Get16(ten, 54), 100);
  EXPECT_EQ(Get16(ten, 68), 60);
  EXPECT_EQ(Get16(ten, 70), 0);
  eight = Page(0, 8);
  EXPECT_EQ(Get16(eight, 92), 60);
  EXPECT_EQ(Get16(eight, 94), 75);

  // A table longer than the page holds, or values out of range, are refused.
  std::string bad = text;
  bad.replace(bad.find("supercap-table = 100 90 80 70 60\n"), 33,
              "supercap-table = 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23\n");
  EXPECT_FALSE(emu::ParseHostFile(bad, &host, &error));
  EXPECT_NE(error.find("at most 22"), std::string::npos) << error;
  bad = text;
  bad.replace(bad.find("gpio-count = 26\n"), 16, "gpio-count = 200\n");
  EXPECT_FALSE(emu::ParseHostFile(bad, &host, &error));
}

}  // namespace
