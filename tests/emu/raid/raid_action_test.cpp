// RAID ACTION from raw frames: the changes it makes are what the generated
// pages, the SCSI targets, the driver's map and /proc/scsi/scsi show next.
#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

using namespace rawtest;

namespace {

class RaidAction : public CardFixture {
 protected:
  Sent Act(uint8_t action, uint16_t volume = 0, uint8_t disk = 0, uint32_t word = 0,
           std::vector<uint8_t> data = {}, uint32_t library = 0) {
    return Send(rawtest::RaidAction(action, volume, disk, word, std::move(data), library));
  }
  Sent Create(std::vector<uint8_t> data) { return Act(2, 0, 0, 0, std::move(data), 0x57); }
  // SCSI IO INQUIRY to a DevHandle: its IOCStatus.
  uint16_t Inquire(uint16_t handle, uint8_t function = 0x00) {
    return Send(ScsiCommand(handle, Inquiry(), 255, function)).status() & 0x7FFF;
  }
  std::string ProcScsi() {
    std::unique_ptr<os::File> f = card().OpenFile("/proc/scsi/scsi", "r");
    std::string text;
    char buffer[256];
    size_t n;
    while (f != nullptr && (n = f->Read(buffer, sizeof buffer)) > 0) text.append(buffer, n);
    return text;
  }
  int MapHandle(uint16_t handle) {
    std::vector<uint8_t> b(24, 0);
    Put32(b, 8, 24);
    Put32(b, 12, 0xFFFFFFFF);
    Put32(b, 16, 0xFFFFFFFF);
    Put16(b, 20, handle);
    return card().Ioctl(fd_, kBusTargetMap, b.data()) == 0 ? 0 : card().LastErrorNumber();
  }
  std::vector<std::vector<uint8_t>> RaidPageSet() {
    std::vector<std::vector<uint8_t>> set = {Page(8, 0, 0, 0x10000040), Page(8, 1, 0, 0x10000040),
                                             Page(15, 0, 0x16, 0x20000000)};
    for (uint32_t n = 0; n < 4; ++n) {
      set.push_back(Page(10, 0, 0, 0x10000000 | n));
      set.push_back(Page(10, 1, 0, 0x10000000 | n));
    }
    return set;
  }
};

TEST_F(RaidAction, DeleteThenCreateGivesTheSameVolumeBack) {
  std::vector<std::vector<uint8_t>> before = RaidPageSet();
  EXPECT_EQ(Inquire(0x09), 0x0043);  // a member is no target of its own
  EXPECT_EQ(Inquire(0x09, 0x16), 0x0045);

  Sent deleted = Act(3, 0x40, 0, 1, {}, 0x57);
  EXPECT_EQ(deleted.status(), 0);
  EXPECT_EQ(deleted.reply[2], 16);  // 64-byte reply
  ASSERT_EQ(card().RaidActions().size(), 1u);
  EXPECT_EQ(card().RaidActions()[0].action, 3);
  EXPECT_EQ(card().RaidActions()[0].volumeDevHandle, 0x40);
  EXPECT_EQ(card().RaidActions()[0].libraryWord, 0x57u);
  EXPECT_EQ(card().RaidActions()[0].actionDataWord, 1u);

  // The rescan sees four bare modules and no configuration.
  EXPECT_EQ(Status(8, 0, 0, 0xFFFF), 0x0022);
  EXPECT_EQ(Status(10, 0, 0, 0xFF), 0x0022);
  EXPECT_EQ(Status(15, 0, 0x16, 0x20000000), 0x0022);
  uint16_t end;
  EXPECT_EQ(Walk(15, 0, 0x12, 0xFFFF, 24, false, &end).size(), 4u);
  EXPECT_EQ(Inquire(0x09), 0x0045);
  EXPECT_EQ(Inquire(0x09, 0x16), 0x0043);
  EXPECT_EQ(Inquire(0x40), 0x0043);
  EXPECT_EQ(MapHandle(0x40), EINVAL);
  std::string listed = ProcScsi();
  EXPECT_EQ(listed.find("Logical Volume"), std::string::npos);
  EXPECT_NE(listed.find("Host: scsi0 Channel: 00 Id: 07 Lun: 00\n  Vendor: ATA      Model: ZKM128-SATA6G    Rev: 512A\n"),
            std::string::npos);

  Sent created = Create(CreationData(0, {0x09, 0x0A, 0x0B, 0x0C}));
  ASSERT_EQ(created.status(), 0);
  EXPECT_EQ(Get16(created.reply, 20), 0x40);  // the new volume's DevHandle
  EXPECT_EQ(RaidPageSet(), before);
  EXPECT_EQ(Inquire(0x09), 0x0043);
  EXPECT_EQ(Inquire(0x40), 0x0045);
  EXPECT_EQ(MapHandle(0x40), 0);
  EXPECT_NE(ProcScsi().find("Host: scsi0 Channel: 01 Id: 00 Lun: 00\n  Vendor: QMX      Model: Logical Volume   Rev: 3000\n"),
            std::string::npos);
}

TEST_F(RaidAction, CreationDataIsCheckedAsAControllerWould) {
  Use(emu::UnconfiguredHost());
  std::vector<uint8_t> four = CreationData(0, {0x09, 0x0A, 0x0B, 0x0C});
  std::vector<uint8_t> cut(four.begin(), four.end() - 4);  // the last member's entry missing
  std::vector<uint8_t> noCount = four;
  noCount[0] = 0;
  struct Case {
    const char* what;
    std::vector<uint8_t> data;
    uint16_t status;
  } cases[] = {
      {"no data", {}, 0x0007},
      {"shorter than its member entries", cut, 0x0007},
      {"no members", noCount, 0x0007},
      {"too few members for RAID0", CreationData(0, {0x09}), 0x0007},
      {"an unknown DevHandle", CreationData(0, {0x09, 0x33}), 0x0007},
      {"a member twice", CreationData(0, {0x09, 0x09}), 0x0007},
      {"a volume type the controller lacks", CreationData(3, {0x09, 0x0A}), 0x0007},
      {"more members than RAID1 takes", CreationData(2, {0x09, 0x0A, 0x0B}), 0x0007},
      {"a maximum LBA beyond the members", CreationData(0, {0x09, 0x0A}, 498040832), 0x0007},
      {"a stripe size the controller lacks", CreationData(0, {0x09, 0x0A}, 0, 0x80000002, 100), 0x0007},
      {"data migration on RAID0", CreationData(0, {0x09, 0x0A}, 0, 0x80000001), 0x0007},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Create(c.data).status(), c.status) << c.what;
  }
  EXPECT_EQ(Status(15, 0, 0x16, 0x20000000), 0x0022);  // nothing was made
  EXPECT_EQ(card().RaidActions().size(), std::size(cases));

  ASSERT_EQ(Create(CreationData(0, {0x09, 0x0A}, 498040831, 0x00000002, 256, "CVX-DATA")).status(), 0);
  std::vector<uint8_t> v0 = Page(8, 0, 0, 0x10000040);
  EXPECT_EQ(Get64(v0, 16), 498040831u);  // the largest two members allow, asked for
  EXPECT_EQ(Get32(v0, 24), 256u);
  EXPECT_EQ(Text(Page(8, 1, 0, 0x10000040), 32, 9), std::string("CVX-DATA") + '\0');
  // A second volume is beyond the card's one; with room for two, a member
  // of the first cannot join it.
  EXPECT_EQ(Create(CreationData(0, {0x0B, 0x0C})).status(), 0x0006);
  adapter().FindPage(1, 6)->current[22] = 2;
  EXPECT_EQ(Create(CreationData(0, {0x0A, 0x0B})).status(), 0x0008);
  ASSERT_EQ(Create(CreationData(0, {0x0B, 0x0C})).status(), 0);
  uint16_t end;
  EXPECT_EQ(Walk(8, 0, 0, 0xFFFF, 4, false, &end), (std::vector<uint32_t>{0x3F, 0x40}));
}

TEST_F(RaidAction, HotSparesComeAndGo) {
  Use(emu::UnconfiguredHost());
  ASSERT_EQ(Create(CreationData(0, {0x09, 0x0A, 0x0B})).status(), 0);
  Sent spare = Act(29, 0, 0, 0x000C0001);  // pool 1, DevHandle 0x0C
  ASSERT_EQ(spare.status(), 0);
  uint8_t number = spare.reply[20];
  EXPECT_EQ(number, 3);
  std::vector<uint8_t> d = Page(10, 0, 0, 0x10000000u | number);
  EXPECT_EQ(d[80], 4);   // hot spare
  EXPECT_EQ(d[10], 1);   // its pool
  std::vector<uint8_t> c = Page(15, 0, 0x16, 0x20000000);
  EXPECT_EQ(c[8], 1);    // one hot spare
  EXPECT_EQ(c[44], 5);
  EXPECT_EQ(Get16(c, 48 + 4 * 8) & 0xF, 2);
  EXPECT_EQ(Inquire(0x0C), 0x0043);
  EXPECT_EQ(Inquire(0x0C, 0x16), 0x0045);
  EXPECT_EQ(Act(29, 0, 0, 0x000C0001).status(), 0x0008);  // already a hot spare
  EXPECT_EQ(Act(29, 0, 0, 0x00330001).status(), 0x0007);  // no such device

  EXPECT_EQ(Act(30, 0, 1).status(), 0x0008);   // a member is no hot spare
  EXPECT_EQ(Act(30, 0, 9).status(), 0x0007);
  EXPECT_EQ(Act(30, 0, number, 0, {}, 0x57).status(), 0);
  EXPECT_EQ(Status(10, 0, 0, 0x10000000u | number), 0x0022);
  EXPECT_EQ(Inquire(0x0C), 0x0045);
}

TEST_F(RaidAction, DiskStatesAndTheVolumeFollow) {
  ASSERT_EQ(Act(10, 0, 2).status(), 0);  // offline on request
  std::vector<uint8_t> d = Page(10, 0, 0, 0x10000002);
  EXPECT_EQ(d[80], 2);
  EXPECT_EQ(d[81], 5);
  EXPECT_EQ(Page(8, 0, 0, 0x10000040).at(6), 1);  // RAID0 without a member: failed
  EXPECT_EQ(Inquire(0x40), 0x0043);
  EXPECT_EQ(ProcScsi().find("Logical Volume"), std::string::npos);
  EXPECT_EQ(MapHandle(0x40), 0);  // the driver still knows the volume
  ASSERT_EQ(Act(11, 0, 2).status(), 0);
  EXPECT_EQ(Page(10, 0, 0, 0x10000002).at(80), 7);
  EXPECT_EQ(Page(8, 0, 0, 0x10000040).at(6), 5);
  ASSERT_EQ(Act(15, 0, 3).status(), 0);
  EXPECT_EQ(Page(10, 0, 0, 0x10000003).at(81), 6);  // failed on request
  EXPECT_EQ(Act(10, 0, 7).status(), 0x0007);
}

TEST_F(RaidAction, VolumeActionsIndicatorAndQueries) {
  Sent indicator = Act(1, 0x40);
  ASSERT_EQ(indicator.status(), 0);
  EXPECT_EQ(Get64(indicator.reply, 20), 996081664u);  // total blocks
  EXPECT_EQ(Get64(indicator.reply, 28), 0u);          // nothing left to do
  EXPECT_EQ(Act(1, 0x41).status(), 0x0007);

  EXPECT_EQ(Act(17, 0x40).status(), 0x0008);  // not inactive
  card().FirstVolume()->statusFlags = 0x4;
  EXPECT_EQ(Inquire(0x40), 0x0043);
  EXPECT_EQ(Act(17, 0x40).status(), 0);
  EXPECT_EQ(Get32(Page(8, 0, 0, 0x10000040), 8) & 0x5u, 0x1u);

  EXPECT_EQ(Act(33, 0x40, 0, 0x0000).status(), 0);  // consistency check, mode 0
  EXPECT_NE(Get32(Page(8, 0, 0, 0x10000040), 8) & 0x00080000u, 0u);
  EXPECT_EQ(Act(34, 0x40, 0, 0x0100).status(), 0);
  EXPECT_EQ(Get32(Page(8, 0, 0, 0x10000040), 8) & 0x00080000u, 0u);
  EXPECT_EQ(Act(33, 0x40, 0, 0x0003).status(), 0x0007);
  EXPECT_EQ(Act(33, 0x40, 0, 0x0200).status(), 0x0007);

  EXPECT_EQ(Act(129, 0, 0, 0x12345678).status(), 0);
  EXPECT_EQ(Act(4).status(), 0x0007);
  EXPECT_EQ(card().RaidActions().back().iocStatus, 0x0007);
}

TEST_F(RaidAction, CompatibilityCheck) {
  auto query = [](uint16_t source, uint16_t candidate, uint32_t flags) {
    std::vector<uint8_t> d(16, 0);
    Put16(d, 0, source);
    Put16(d, 2, candidate);
    Put32(d, 4, flags);
    return d;
  };
  Sent own = Act(35, 0, 0, 0, query(0x09, 0, 1));
  ASSERT_EQ(own.status(), 0);
  EXPECT_EQ(own.reply[20], 0);
  EXPECT_EQ(Get32(own.reply, 24), 0x0Au);  // SATA, solid state
  EXPECT_EQ(Get32(own.reply, 28), 1u);     // OEM attribute bit 0
  EXPECT_EQ(Act(35, 0, 0, 0, query(0x09, 0x0C, 0)).reply[20], 0);
  EXPECT_EQ(Act(35, 0, 0, 0, query(0x40, 0x0C, 2)).reply[20], 0);  // volume source
  card().Module(7)->maxSectors = 200000000;  // too small to stand in for a member
  EXPECT_EQ(Act(35, 0, 0, 0, query(0x40, 0x0C, 2)).reply[20], 1);
  EXPECT_EQ(Act(35, 0, 0, 0, query(0x33, 0x0C, 0)).status(), 0x0007);
  EXPECT_EQ(Act(35, 0, 0, 0, query(0x09, 0x33, 0)).status(), 0x0007);
  EXPECT_EQ(Act(35, 0, 0, 0, std::vector<uint8_t>(4, 0)).status(), 0x0007);
}

TEST_F(RaidAction, TheChangeIsKeptInTheCardFile) {
  ASSERT_EQ(Act(3, 0x40).status(), 0);
  ASSERT_EQ(Create(CreationData(0, {0x0B, 0x0C}, 0, 0x80000002, 0, "PAIR")).status(), 0);
  std::vector<std::vector<uint8_t>> pages = {Page(8, 0, 0, 0x10000040), Page(8, 1, 0, 0x10000040),
                                             Page(15, 0, 0x16, 0x20000000), Page(10, 0, 0, 0x10000001)};
  std::string text = emu::FormatHostFile(card().model());
  emu::HostModel back;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(text, &back, &error)) << error;
  EXPECT_EQ(emu::FormatHostFile(back), text);
  Use(std::move(back));
  EXPECT_EQ((std::vector<std::vector<uint8_t>>{Page(8, 0, 0, 0x10000040), Page(8, 1, 0, 0x10000040),
                                               Page(15, 0, 0x16, 0x20000000), Page(10, 0, 0, 0x10000001)}),
            pages);
  EXPECT_EQ(Inquire(0x09), 0x0045);  // still bare
}

}  // namespace
