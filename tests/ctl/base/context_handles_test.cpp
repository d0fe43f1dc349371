// The library context, object handles and the memory helpers.
#include "tests/ctl/ctl_test_support.h"

#include "ctl/base/byte_order.h"

namespace ctltest {
namespace {

using ContextHandles = CardTest;

TEST_F(ContextHandles, HandlesShareOneCounterAcrossKinds) {
  LibHandle adapter = StartDefaultCard();
  EXPECT_EQ(adapter, 0x01000001u);
  DeviceRecord* first = AddDevice(adapter, 0x10);
  DeviceRecord* second = AddDevice(adapter, 0x11);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->header.handle, 0x02000002u);
  EXPECT_EQ(second->header.handle, 0x02000003u);
  EXPECT_EQ(second->header.handleCopy, second->header.handle);
  EXPECT_EQ(second->header.kind, 0x02000001u);
  EXPECT_EQ(context()->handleCounter, 4u);
}

TEST_F(ContextHandles, KindWordIsStoredWithBitEightClearedAndBitZeroSet) {
  ObjectHeader header{};
  context()->handleCounter = 7;
  EXPECT_EQ(AssignObjectHandle(context(), &header, 0x10000100, 3, 4, 5, 6), kLibOk);
  EXPECT_EQ(header.handle, 0x10000007u);
  EXPECT_EQ(header.kind, 0x10000001u);
  EXPECT_EQ(header.location[0], 3u);
  EXPECT_EQ(header.location[1], 4u);
  EXPECT_EQ(header.location[2], 5u);
  EXPECT_EQ(header.locationByte, 6u);
  EXPECT_EQ(context()->handleCounter, 8u);
}

TEST_F(ContextHandles, ReopeningStartsAFreshContextAndReleasesTheOldTree) {
  LibHandle adapter = StartDefaultCard();
  AddDevice(adapter, 0x10);
  LibContext* before = context();
  ASSERT_EQ(QmxLibOpen(), kLibOk);
  EXPECT_EQ(context()->adapterCount, 0u);
  EXPECT_EQ(context()->adapterList, nullptr);
  EXPECT_EQ(context()->handleCounter, 1u);
  // The records under the old context are freed with it (the sanitizer build
  // reports them otherwise); a new discovery numbers from 1 again.
  (void)before;
  uint32_t count = 0;
  EXPECT_EQ(Discover(kCardFlags, &count), kLibOk);
  EXPECT_EQ(context()->adapterList->header.handle, 0x01000001u);
}

TEST_F(ContextHandles, CloseKeepsTheContext) {
  LibHandle adapter = StartDefaultCard();
  EXPECT_EQ(QmxLibClose(), kLibOk);
  QmxLibTerm();
  uint32_t devices = 99;
  EXPECT_EQ(QmxGetDeviceCount(&adapter, &devices), kLibOk);
  EXPECT_EQ(devices, 0u);
}

TEST_F(ContextHandles, MemoryHelpers) {
  QmxFree(context(), nullptr);
  auto* zeroed = static_cast<uint8_t*>(QmxAlloc(context(), 1, 64));
  ASSERT_NE(zeroed, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(zeroed[i], 0) << i;
  QmxFree(context(), zeroed);
  // A block of size 0 is still a block that can be freed.
  void* empty = QmxAlloc(context(), 1, 0);
  EXPECT_NE(empty, nullptr);
  QmxFree(context(), empty);
}

TEST(ByteOrder, SwapsReverseTheBytes) {
  EXPECT_EQ(Swap32(0x12345678u), 0x78563412u);
  EXPECT_EQ(Swap64(0x0102030405060708ull), 0x0807060504030201ull);
  uint8_t capacity[8] = {0x00, 0x01, 0xFF, 0xFF, 0x00, 0x00, 0x02, 0x00};
  EXPECT_EQ(GetBe32(capacity, 0), 0x0001FFFFu);
  EXPECT_EQ(GetBe32(capacity, 4), 512u);
}

}  // namespace
}  // namespace ctltest
