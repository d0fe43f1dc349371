// The virtual clock and the captured standard streams.
#include <gtest/gtest.h>

#include "emu/host/emulator.h"

namespace {

TEST(Clock, WaitsAdvanceTheVirtualClockAtOnce) {
  emu::HostModel host = emu::DefaultHost();
  host.startTime = 1000;
  emu::Emulator& card = emu::Install(std::move(host));
  EXPECT_EQ(card.Time(), 1000);
  card.Sleep(5);
  card.Usleep(999999);
  EXPECT_EQ(card.WaitedMicroseconds(), 5999999u);
  EXPECT_EQ(card.Time(), 1005);
  card.Usleep(1);
  EXPECT_EQ(card.Time(), 1006);
  EXPECT_EQ(card.waits(), (std::vector<uint64_t>{5000000, 999999, 1}));
}

TEST(Clock, LocalTimeIsUtcEverywhere) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  std::tm tm{};
  ASSERT_TRUE(card.LocalTime(card.Time(), &tm));
  EXPECT_EQ(tm.tm_year + 1900, 2024);
  EXPECT_EQ(tm.tm_mon + 1, 6);
  EXPECT_EQ(tm.tm_mday, 1);
  EXPECT_EQ(tm.tm_hour, 12);
  EXPECT_EQ(tm.tm_min, 0);
}

TEST(Streams, CapturedInputEndsWithMinusOneAndOutputIsTaken) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  card.SetInput("1\n\xff");
  EXPECT_EQ(card.ReadChar(), '1');
  EXPECT_EQ(card.ReadChar(), '\n');
  EXPECT_EQ(card.ReadChar(), 0xFF);  // a byte, never mistaken for the end
  EXPECT_EQ(card.ReadChar(), -1);
  EXPECT_EQ(card.ReadChar(), -1);
  card.WriteOut("ab", 2);
  card.WriteError("x", 1);
  card.WriteOut("c\n", 2);
  EXPECT_EQ(card.TakeOutput(), "abc\n");
  EXPECT_EQ(card.TakeOutput(), "");
  EXPECT_EQ(card.TakeErrorOutput(), "x");
}

TEST(Install, TheActivePortIsTheInstalledEmulator) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  EXPECT_EQ(&os::ActivePort(), &card);
  EXPECT_EQ(&emu::Current(), &card);
  emu::Emulator& fresh = emu::Install(emu::DefaultHost());
  EXPECT_EQ(&os::ActivePort(), &fresh);
  EXPECT_EQ(fresh.log().size(), 0u);
}

}  // namespace
