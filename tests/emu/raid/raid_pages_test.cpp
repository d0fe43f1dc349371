// The RAID pages generated from the RAID state, their address forms and
// walks, the RAID limits, and the default card's pages telling one story.
#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

using namespace rawtest;

namespace {

using RaidPages = CardFixture;

TEST_F(RaidPages, VolumePagesByHandleAndByWalk) {
  uint16_t end = 0;
  EXPECT_EQ(Walk(8, 0, 0, 0xFFFF, 4, false, &end), (std::vector<uint32_t>{0x40}));
  EXPECT_EQ(end, 0x0022);
  std::vector<uint8_t> v0 = Page(8, 0, 0, 0x10000040);
  ASSERT_EQ(v0.size(), 40u + 4 * 4);
  EXPECT_EQ(v0[1] * 4u, v0.size());
  EXPECT_EQ(v0[6], 5);                 // optimal
  EXPECT_EQ(v0[7], 0);                 // RAID0
  EXPECT_EQ(Get32(v0, 8) & 0x5u, 0x1u);  // enabled, not inactive
  EXPECT_EQ(Get64(v0, 16), 996081663u);
  EXPECT_EQ(Get32(v0, 24), 128u);      // 64 KiB stripes
  EXPECT_EQ(v0[36], 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v0[40 + 4 * i + 1], i);  // member map
    EXPECT_EQ(v0[40 + 4 * i + 2], i);  // disk number
  }
  std::vector<uint8_t> v1 = Page(8, 1, 0, 0x10000040);
  ASSERT_EQ(v1.size(), 64u);
  EXPECT_EQ(Get16(v1, 4), 0x40);
  EXPECT_EQ(Get64(v1, 48), 0x600605B00C8A4040ull);
  EXPECT_EQ(Text(v1, 32, 16), std::string(16, '\0'));  // no name
  EXPECT_EQ(Status(8, 0, 0, 0x10000041), 0x0022);
  EXPECT_EQ(Status(8, 0, 0, 0x40), 0x0022);  // next after the only volume
}

TEST_F(RaidPages, PhysicalDiskPagesByNumberWalkAndHandle) {
  uint16_t end = 0;
  EXPECT_EQ(Walk(10, 0, 0, 0xFF, 7, true, &end), (std::vector<uint32_t>{0, 1, 2, 3}));
  EXPECT_EQ(end, 0x0022);
  for (uint8_t n = 0; n < 4; ++n) {
    std::vector<uint8_t> d = Page(10, 0, 0, 0x10000000u | n);
    ASSERT_GE(d.size(), 120u);
    EXPECT_EQ(Get16(d, 4), 0x09 + n);
    EXPECT_EQ(d[7], n);
    EXPECT_EQ(d[10], 0);                              // no hot-spare pool
    EXPECT_EQ(Text(d, 16, 8), "ATA     ");
    EXPECT_EQ(Text(d, 24, 16), "ZKM128-SATA6G   ");
    EXPECT_EQ(Text(d, 40, 4), "512A");
    EXPECT_EQ(Text(d, 44, 13), "ZKM2406A010" + std::to_string(4 + n) + " ");
    EXPECT_EQ(d[80], 7);                              // optimal
    EXPECT_EQ(d[81], 0);
    EXPECT_EQ(d[83], 0x0A);                           // SATA, solid state
    EXPECT_EQ(Get64(d, 88), 250069679u);              // the module's last LBA
    EXPECT_EQ(Get64(d, 96), 250069679u - 512 * 2048);  // less the metadata reserve
    EXPECT_EQ(Get64(d, 104), 249020415u);             // whole MiB
    EXPECT_EQ(Get16(d, 112), 512);
    EXPECT_EQ(Page(10, 0, 0, 0x20000000u | (0x09 + n)).at(7), n);  // by DevHandle
    std::vector<uint8_t> paths = Page(10, 1, 0, 0x10000000u | n);
    ASSERT_EQ(paths.size(), 36u);
    EXPECT_EQ(paths[4], 1);
    EXPECT_EQ(Get16(paths, 12), 0x09 + n);
    EXPECT_EQ(paths[32], 4 + n);                      // the slot
  }
  EXPECT_EQ(Status(10, 0, 0, 0x10000004), 0x0022);
}

TEST_F(RaidPages, TheConfigurationListsTheVolumeAndItsMembers) {
  for (uint32_t address : {0x20000000u, 0x00000000u, 0x000000FFu}) {
    std::vector<uint8_t> c = Page(15, 0, 0x16, address);
    ASSERT_EQ(c.size(), 48u + 5 * 8) << std::hex << address;
    EXPECT_EQ(c[9], 4);    // disks
    EXPECT_EQ(c[10], 1);   // volumes
    EXPECT_EQ(c[44], 5);   // elements
    EXPECT_EQ(Get16(c, 48) & 0xF, 0);  // a volume element
    EXPECT_EQ(Get16(c, 50), 0x40);
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(Get16(c, 48 + 8 * i) & 0xF, 1);
      EXPECT_EQ(c[48 + 8 * i + 5], i - 1);
      EXPECT_EQ(Get16(c, 48 + 8 * i + 6), 0x09 + i - 1);
    }
  }
  Use(emu::UnconfiguredHost());
  EXPECT_EQ(Status(15, 0, 0x16, 0x20000000), 0x0022);
  EXPECT_EQ(Status(8, 0, 0, 0xFFFF), 0x0022);
  EXPECT_EQ(Status(10, 0, 0, 0xFF), 0x0022);
}

TEST_F(RaidPages, TheRaidLimitsFollowTheBoard) {
  struct Case {
    emu::HostModel (*host)();
    uint8_t modules;
  } cases[] = {{emu::DefaultHost, 4}, {emu::BoardType9Host, 8}};
  for (const Case& c : cases) {
    Use(c.host());
    std::vector<uint8_t> p6 = Page(1, 6);
    ASSERT_EQ(p6.size(), 60u);
    EXPECT_NE(Get32(p6, 4) & 0x02u, 0u);  // RAID0
    EXPECT_EQ(p6[8], c.modules);          // at most the card's modules in a RAID0 volume
    EXPECT_LE(p6[12], c.modules);         // at least
    EXPECT_EQ(p6[21], c.modules);         // physical disks
    EXPECT_EQ(p6[22], 1);                 // one volume
    EXPECT_EQ(Get16(p6, 48), 512);        // metadata reserve, MiB
    std::vector<uint8_t> m4 = Page(9, 4);
    ASSERT_EQ(m4.size(), 108u);
    EXPECT_EQ(m4[105], c.modules);
    EXPECT_EQ(m4[106], c.modules);
    std::vector<uint8_t> m10 = Page(9, 10);
    EXPECT_NE(Get32(m10, 4), 0u);          // word 4
    EXPECT_EQ(Get32(m10, 12), 0u);         // word 12: no RAID feature restrictions
  }
}

// Every page of the default card agrees with every other.
TEST_F(RaidPages, TheDefaultCardTellsOneStory) {
  uint16_t end = 0;
  std::vector<uint32_t> devices = Walk(15, 0, 0x12, 0xFFFF, 24, false, &end);
  std::vector<uint32_t> disks = Walk(10, 0, 0, 0xFF, 7, true, &end);
  std::vector<uint8_t> config = Page(15, 0, 0x16, 0x20000000);
  std::vector<uint8_t> volume = Page(8, 0, 0, 0x10000000u | Get16(config, 50));
  ASSERT_FALSE(volume.empty());
  EXPECT_EQ(volume[36], disks.size());
  EXPECT_EQ(config[9], disks.size());
  uint64_t smallest = ~0ull;
  for (uint32_t n : disks) {
    std::vector<uint8_t> d = Page(10, 0, 0, 0x10000000u | n);
    uint16_t handle = Get16(d, 4);
    EXPECT_NE(std::find(devices.begin(), devices.end(), handle), devices.end()) << n;
    std::vector<uint8_t> device = Page(15, 0, 0x12, 0x20000000u | handle);
    EXPECT_EQ(Get16(Page(10, 1, 0, 0x10000000u | n), 32), Get16(device, 8));  // same slot
    smallest = std::min<uint64_t>(smallest, Get64(d, 104) + 1);
  }
  EXPECT_EQ(Get64(volume, 16) + 1, smallest * disks.size());  // RAID0: the members side by side
  // The volume is a target of the driver; the members map too.
  auto map = [&](uint16_t handle, uint32_t* bus, uint32_t* target) {
    std::vector<uint8_t> b(24, 0);
    Put32(b, 8, 24);
    Put32(b, 12, 0xFFFFFFFF);
    Put32(b, 16, 0xFFFFFFFF);
    Put16(b, 20, handle);
    int rc = card().Ioctl(fd_, kBusTargetMap, b.data());
    *target = Get32(b, 12);
    *bus = Get32(b, 16);
    return rc;
  };
  uint32_t bus, target;
  ASSERT_EQ(map(0x40, &bus, &target), 0);
  EXPECT_EQ(bus, 1u);
  EXPECT_EQ(target, 0u);
  ASSERT_EQ(map(0x0B, &bus, &target), 0);
  EXPECT_EQ(bus, 0u);
  EXPECT_EQ(target, 6u);
  // RAID0 with four and with eight members fits the board that has them.
  std::vector<uint8_t> p6 = Page(1, 6);
  EXPECT_TRUE(p6[12] <= 4 && 4 <= p6[8]);
  Use(emu::BoardType9Host());
  p6 = Page(1, 6);
  EXPECT_TRUE(p6[12] <= 8 && 8 <= p6[8]);
  EXPECT_EQ(Page(8, 0, 0, 0x10000040).at(36), 8);
}

TEST_F(RaidPages, RaidPagesTakeNoWrites) {
  std::vector<uint8_t> v0 = Page(8, 0, 0, 0x10000040);
  Message header;
  header.frame = ConfigFrame(0, 8, 0, 0, 0, 0, 0x10000040);
  header.replyRoom = 24;
  Sent h = Send(header);
  Message write;
  write.frame = ConfigFrame(4, 8, 0, 0, 0, h.reply[21], 0x10000040);
  write.replyRoom = 24;
  write.dataOut = v0;
  EXPECT_EQ(Send(write).status(), 0x0020);
}

}  // namespace
