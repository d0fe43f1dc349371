// The card library's runtime wrappers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cardlib/entry/os_wrappers.h"
#include "emu/host/emulator.h"

namespace {

TEST(OsWrappers, SleepGoesThroughThePlatformInMicroseconds) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  ZkSleepMs(1000);
  EXPECT_EQ(card.WaitedMicroseconds(), 1000000u);
  ZkSleepMs(5000000);  // more microseconds than 32 bits hold
  EXPECT_EQ(card.WaitedMicroseconds(), 1000000u + 5000000000ull);
  ZkSleepMs(0);
  EXPECT_EQ(card.WaitedMicroseconds(), 1000000u + 5000000000ull);
}

TEST(OsWrappers, BoundedCopyPadsAndDoesNotTerminateAFullField) {
  char field[8];
  std::memset(field, 'x', sizeof(field));
  ZkStrnCopy(field, "abc", 8);
  EXPECT_EQ(std::string(field, 8), std::string("abc\0\0\0\0\0", 8));
  ZkStrnCopy(field, "abcdefghij", 8);
  EXPECT_EQ(std::string(field, 8), "abcdefgh");
}

TEST(OsWrappers, FormatStaysInTheBuffer) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(ZkFormat(buffer, 5, "%s", "TRIXEL4400"), 10);
  EXPECT_STREQ(buffer, "TRIX");
  EXPECT_EQ(buffer[5], 'x');
  EXPECT_EQ(ZkFormat(nullptr, 5, "%d", 1), -1);
}

TEST(OsWrappers, Memory) {
  auto* block = static_cast<uint8_t*>(ZkAllocZeroed(16));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(block[i], 0);
  ZkFill(block, 0x5A, 16);
  uint8_t copy[16];
  ZkCopy(copy, block, 16);
  EXPECT_EQ(std::memcmp(copy, block, 16), 0);
  ZkRelease(block);
  ZkRelease(nullptr);
}

}  // namespace
