// The SAS pages generated from the modules: device pages and their walks,
// phy pages, the SAS IO unit pages, the enclosure, and a phy taken off the
// bus through SAS IO unit page 1.
#include "card_fixture.h"

using namespace rawtest;

namespace {

using DevicePages = CardFixture;

TEST_F(DevicePages, DevicePagesWalkEveryModuleAndEndWithInvalidPage) {
  uint16_t end = 0;
  std::vector<uint32_t> handles = Walk(15, 0, 0x12, 0xFFFF, 24, false, &end);
  EXPECT_EQ(handles, (std::vector<uint32_t>{0x09, 0x0A, 0x0B, 0x0C}));
  EXPECT_EQ(end, 0x0022);
  for (uint16_t slot = 4; slot <= 7; ++slot) {
    uint16_t handle = static_cast<uint16_t>(0x09 + slot - 4);
    std::vector<uint8_t> p = Page(15, 0, 0x12, 0x20000000u | handle);  // form 2: this handle
    ASSERT_EQ(p.size(), 56u) << slot;
    EXPECT_EQ(Get16(p, 4), 14);            // extended length, words
    EXPECT_EQ(p[6], 0x12);
    EXPECT_EQ(Get16(p, 8), slot);          // enclosure slot
    EXPECT_EQ(Get16(p, 10), 1);            // enclosure handle
    EXPECT_EQ(Get64(p, 12), 0x4433221100000000ull | (uint64_t(slot) << 24));
    EXPECT_EQ(p[22], slot);                // phy number
    EXPECT_EQ(p[23], 0);                   // access status
    EXPECT_EQ(Get16(p, 24), handle);
    EXPECT_EQ(Get32(p, 28), 0x881u);       // SATA device, directly attached, end device
    EXPECT_EQ(Get16(p, 32) & 0x1800, 0x1800);  // slumber and partial capable
    EXPECT_EQ(p[34], slot);                // physical port
    std::vector<uint8_t> p1 = Page(15, 1, 0x12, 0x20000000u | handle);
    ASSERT_EQ(p1.size(), 48u);
    EXPECT_EQ(Get64(p1, 12), Get64(p, 12));
    EXPECT_EQ(Get16(p1, 24), handle);
    EXPECT_EQ(p1[28], 0x34);               // the device's signature FIS
  }
  EXPECT_EQ(Status(15, 0, 0x12, 0x20000040), 0x0022);  // the volume is no SAS device
  EXPECT_EQ(Status(15, 0, 0x12, 0x0000000C), 0x0022);  // nothing after the last
}

TEST_F(DevicePages, PhyPagesTellAttachmentAndPowerCondition) {
  card().Module(5)->linkPower = 1;
  card().Module(6)->linkPower = 2;
  const uint32_t power[8] = {0, 0, 0, 0, 0, 0x08000000, 0x10000000, 0};
  for (uint8_t phy = 0; phy < 8; ++phy) {
    std::vector<uint8_t> p = Page(15, 0, 0x13, phy);
    ASSERT_EQ(p.size(), 32u) << int(phy);
    EXPECT_EQ(Get16(p, 12), phy < 4 ? 0 : 0x09 + phy - 4) << int(phy);  // attached DevHandle
    EXPECT_EQ(Get32(p, 24) & 0x18000000u, power[phy]) << int(phy);
    EXPECT_EQ(p[28], phy < 4 ? 0x00 : 0x0A) << int(phy);  // negotiated 6.0 Gbps
  }
  EXPECT_EQ(Page(15, 1, 0x13, 7).size(), 28u);
  EXPECT_EQ(Status(15, 0, 0x13, 8), 0x0022);
}

TEST_F(DevicePages, IoUnitStatusAndSettingsPages) {
  std::vector<uint8_t> p0 = Page(15, 0, 0x10);
  ASSERT_EQ(p0.size(), 16u + 8 * 20);
  EXPECT_EQ(p0[12], 8);
  for (int phy = 0; phy < 8; ++phy) {
    size_t e = 16 + 20 * phy;
    EXPECT_EQ(p0[e + 3] >> 4, phy < 4 ? 0 : 0xA) << phy;  // the rate the listing shows
    EXPECT_EQ(Get16(p0, e + 8), phy < 4 ? 0 : 0x09 + phy - 4) << phy;
  }
  std::vector<uint8_t> p1 = Page(15, 1, 0x10);
  ASSERT_EQ(p1.size(), 20u + 8 * 12);
  for (int phy = 0; phy < 8; ++phy) EXPECT_EQ(p1[22 + 12 * phy] & 0x08, 0) << phy;
  EXPECT_EQ(Status(15, 4, 0x10), 0);
  // The status page takes no writes; page 5 is written in NVRAM and current.
  EXPECT_EQ(WritePage(card(), fd_, 15, 0, p0, 2, 0x10), 0x0020);
  std::vector<uint8_t> p5 = Page(15, 5, 0x10);
  ASSERT_EQ(p5.size(), 16u + 8 * 12);
  p5[16 + 12 * 6] = 0x02;  // SATA slumber on phy 6
  Put16(p5, 16 + 12 * 6 + 6, 7);
  ASSERT_EQ(WritePage(card(), fd_, 15, 5, p5, 4, 0x10), 0);
  EXPECT_EQ(Read(15, 5, 0x10, 0, 6).bytes, p5);
  EXPECT_NE(Read(15, 5, 0x10, 0, 1).bytes, p5);
  ASSERT_EQ(WritePage(card(), fd_, 15, 5, p5, 2, 0x10), 0);
  EXPECT_EQ(Read(15, 5, 0x10, 0, 1).bytes, p5);
}

TEST_F(DevicePages, APhyDisabledInIoUnitPage1TakesItsModuleOffTheBusUntilReset) {
  std::vector<uint8_t> p1 = Page(15, 1, 0x10);
  p1[22 + 12 * 5] |= 0x08;
  ASSERT_EQ(WritePage(card(), fd_, 15, 1, p1, 2, 0x10), 0);  // current copy only
  uint16_t end = 0;
  EXPECT_EQ(Walk(15, 0, 0x12, 0xFFFF, 24, false, &end), (std::vector<uint32_t>{0x09, 0x0B, 0x0C}));
  EXPECT_EQ(Page(15, 0, 0x10).at(16 + 20 * 5 + 3), 0x11);   // phy disabled
  EXPECT_EQ(Get16(Page(10, 0, 0, 0x10000001), 4), 0xFFFF);  // disk 1 has no way to its module
  EXPECT_EQ(Send(SataCommand(0x0A, 0xEC)).status(), 0x0043);

  std::vector<uint8_t> reset(12, 0);
  EXPECT_EQ(card().Ioctl(fd_, kHardReset, reset.data()), 0);
  EXPECT_EQ(Walk(15, 0, 0x12, 0xFFFF, 24, false, &end), (std::vector<uint32_t>{0x09, 0x0A, 0x0B, 0x0C}));
}

TEST_F(DevicePages, TheEnclosureHasEightSlots) {
  std::vector<uint8_t> p = Page(15, 0, 0x15, 0x10000001);
  ASSERT_EQ(p.size(), 40u);
  EXPECT_EQ(Get64(p, 12), 0x500605B00C8A4D10ull);  // logical identifier: the card's SAS address
  EXPECT_EQ(Get16(p, 22), 1);
  EXPECT_EQ(Get16(p, 24), 8);
  EXPECT_EQ(Get16(Page(15, 0, 0x15, 0xFFFF), 22), 1);  // the walk's first
  EXPECT_EQ(Status(15, 0, 0x15, 1), 0x0022);           // nothing after enclosure 1
  EXPECT_EQ(Status(15, 0, 0x15, 0x10000002), 0x0022);
}

TEST_F(DevicePages, AStoredPageOverridesItsGeneratedInstance) {
  std::vector<uint8_t> own = Page(15, 0, 0x12, 0x20000009);
  own[23] = 7;  // blocked
  adapter().SetPage(emu::PageKey{15, 0, 0x12, 0x09}, own);
  EXPECT_EQ(Page(15, 0, 0x12, 0x20000009).at(23), 7);
  EXPECT_EQ(Page(15, 0, 0x12, 0x2000000A).at(23), 0);
}

}  // namespace
