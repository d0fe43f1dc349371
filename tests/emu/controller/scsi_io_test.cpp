// SCSI IO and the RAID SCSI IO passthrough from raw frames: what the targets
// answer, the sense data and where it stops, the conditions armed on demand
// and the transport's refusals.
#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

using namespace rawtest;

namespace {

class ScsiIo : public CardFixture {
 protected:
  void SetUp() override { Use(emu::UnconfiguredHost()); }  // four bare modules, 0x09-0x0C
  Sent Scsi(uint16_t handle, std::vector<uint8_t> cdb, uint32_t dataIn = 255, uint8_t function = 0x00,
            uint32_t senseRoom = 252) {
    return Send(ScsiCommand(handle, std::move(cdb), dataIn, function, senseRoom));
  }
  static uint8_t ScsiStatus(const Sent& s) { return s.reply.at(12); }
  static uint32_t Transferred(const Sent& s) { return Get32(s.reply, 20); }
};

TEST_F(ScsiIo, InquiryNamesAModuleAsAtaAndTheVolumeAsTheController) {
  Sent s = Scsi(0x09, Inquiry());
  EXPECT_EQ(s.status(), 0x0045);  // less than the 255 bytes asked for
  EXPECT_EQ(s.reply[2], 10);      // 40-byte reply
  EXPECT_EQ(Get16(s.reply, 0), 0x09);
  EXPECT_EQ(ScsiStatus(s), 0);
  ASSERT_EQ(Transferred(s), 96u);
  EXPECT_EQ(s.dataIn[0], 0x00);   // direct access
  EXPECT_EQ(s.dataIn[4], 91);     // additional length
  EXPECT_EQ(Text(s.dataIn, 8, 28), "ATA     ZKM128-SATA6G   512A");
  EXPECT_TRUE(s.guardsIntact);

  Use(emu::DefaultHost());
  s = Scsi(0x40, Inquiry());
  EXPECT_EQ(Text(s.dataIn, 8, 28), "QMX     Logical Volume  3000");
  // Exactly the 36 bytes asked for: no underrun.
  s = Scsi(0x40, Inquiry(0, false, 36), 36);
  EXPECT_EQ(s.status(), 0);
  EXPECT_EQ(Transferred(s), 36u);
}

TEST_F(ScsiIo, VitalProductDataPages) {
  Sent s = Scsi(0x09, Inquiry(0x00, true));
  ASSERT_EQ(ScsiStatus(s), 0);
  EXPECT_EQ(Transferred(s), 8u);
  EXPECT_EQ(std::vector<uint8_t>(s.dataIn.begin() + 3, s.dataIn.begin() + 8),
            (std::vector<uint8_t>{4, 0x00, 0x80, 0x83, 0xB1}));
  s = Scsi(0x09, Inquiry(0x80, true));
  EXPECT_EQ(s.dataIn[1], 0x80);
  EXPECT_EQ(Text(s.dataIn, 4, s.dataIn[3]), "ZKM2406A0104        ");

  s = Scsi(0x09, Inquiry(0x83, true));
  ASSERT_EQ(s.dataIn[1], 0x83);
  size_t first = 4, second = first + 4 + s.dataIn[first + 3];
  EXPECT_EQ(s.dataIn[first + 1], 0x01);   // association 0, T10 vendor identification
  EXPECT_EQ(Text(s.dataIn, first + 4, 8), "ATA     ");
  EXPECT_EQ(s.dataIn[second + 1], 0x03);  // association 0, NAA
  EXPECT_EQ(s.dataIn[second + 3], 8);
  EXPECT_EQ(Be64(s.dataIn, second + 4), card().Module(4)->wwn);
  EXPECT_EQ((s.dataIn[second + 4] >> 4), 5);
  EXPECT_EQ(size_t(s.dataIn[2] << 8 | s.dataIn[3]), second + 12 - 4);  // the page length

  s = Scsi(0x09, Inquiry(0xB1, true));
  EXPECT_EQ(s.dataIn[1], 0xB1);
  EXPECT_EQ(s.dataIn[4] << 8 | s.dataIn[5], 1);  // non-rotating
  EXPECT_EQ(s.dataIn[7] & 0x0F, 5);

  s = Scsi(0x09, Inquiry(0x89, true));
  EXPECT_EQ(ScsiStatus(s), 2);
  EXPECT_EQ(s.sense[2] & 0x0F, 5);
  EXPECT_EQ(s.sense[12], 0x24);
  s = Scsi(0x09, Inquiry(0x80, false));  // a page code without EVPD
  EXPECT_EQ(s.sense[12], 0x24);

  Use(emu::DefaultHost());
  s = Scsi(0x40, Inquiry(0x83, true));
  second = 4 + 4 + s.dataIn[7];
  EXPECT_EQ(s.dataIn[second + 3], 16);
  EXPECT_EQ(Be64(s.dataIn, second + 4), 0x600605B00C8A4040ull);
  EXPECT_EQ(Text(Scsi(0x40, Inquiry(0x80, true)).dataIn, 4, 16), "600605B00C8A4040");
}

TEST_F(ScsiIo, ReadCapacityTenAndSixteen) {
  Sent s = Scsi(0x0A, ReadCapacity10(), 8);
  ASSERT_EQ(s.status(), 0);
  EXPECT_EQ(Be32(s.dataIn, 0), 250069679u);
  EXPECT_EQ(Be32(s.dataIn, 4), 512u);
  s = Scsi(0x0A, ReadCapacity16(), 32);
  EXPECT_EQ(Be64(s.dataIn, 0), 250069679u);
  EXPECT_EQ(Be32(s.dataIn, 8), 512u);

  card().Module(5)->nativeSectors = card().Module(5)->maxSectors = 0x200000000ull;  // 8 TiB
  EXPECT_EQ(Be32(Scsi(0x0A, ReadCapacity10(), 8).dataIn, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Be64(Scsi(0x0A, ReadCapacity16(), 32).dataIn, 0), 0x1FFFFFFFFull);
  std::vector<uint8_t> other = ReadCapacity16();
  other[1] = 0x11;
  EXPECT_EQ(Scsi(0x0A, other, 32).sense[12], 0x24);

  Use(emu::DefaultHost());
  EXPECT_EQ(Be32(Scsi(0x40, ReadCapacity10(), 8).dataIn, 0), 996081663u);
}

TEST_F(ScsiIo, SenseFormatsAndWhereTheSenseStops) {
  Sent s = Scsi(0x09, {0xC1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // an opcode no target knows
  EXPECT_EQ(ScsiStatus(s), 2);
  EXPECT_EQ(s.reply[13] & 0x01, 0x01);  // autosense valid
  EXPECT_EQ(Get32(s.reply, 24), 18u);   // sense count
  EXPECT_EQ(s.status(), 0x0045);
  EXPECT_EQ(s.sense[0], 0x70);
  EXPECT_EQ(s.sense[2], 0x05);
  EXPECT_EQ(s.sense[7], 10);
  EXPECT_EQ(s.sense[12], 0x20);
  EXPECT_EQ(s.sense[13], 0x00);
  EXPECT_EQ(Scsi(0x09, {0xC1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0).status(), 0);  // no data asked

  card().Module(4)->sense.descriptorFormat = true;
  s = Scsi(0x09, {0xC1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(Get32(s.reply, 24), 8u);
  EXPECT_EQ(std::vector<uint8_t>(s.sense.begin(), s.sense.begin() + 4),
            (std::vector<uint8_t>{0x72, 0x05, 0x20, 0x00}));

  struct Case {
    uint32_t ioctlRoom;
    uint8_t frameLength;
    uint32_t written;
  } cases[] = {{252, 252, 18}, {8, 252, 8}, {252, 4, 4}, {0, 252, 0}};
  for (const Case& c : cases) {
    Message m = ScsiCommand(0x0A, {0xC1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 255, 0x00, c.ioctlRoom);
    m.frame[18] = c.frameLength;
    Sent r = Send(m);
    EXPECT_TRUE(r.guardsIntact) << c.ioctlRoom << "/" << int(c.frameLength);
    EXPECT_EQ(Get32(r.reply, 24), c.written) << c.ioctlRoom << "/" << int(c.frameLength);
    if (c.written >= 3) {
      EXPECT_EQ(r.sense[2], 0x05);
    }
  }
}

TEST_F(ScsiIo, CheckConditionAndUnitAttentionOnDemand) {
  ASSERT_TRUE(card().QueueCheckCondition(0x09, emu::SenseCode{0x03, 0x11, 0x00}, 2));
  for (int i = 0; i < 2; ++i) {
    Sent s = Scsi(0x09, Inquiry());
    EXPECT_EQ(ScsiStatus(s), 2);
    EXPECT_EQ(s.sense[2], 0x03);
    EXPECT_EQ(s.sense[12], 0x11);
    EXPECT_EQ(Transferred(s), 0u);
  }
  EXPECT_EQ(ScsiStatus(Scsi(0x09, Inquiry())), 0);

  ASSERT_TRUE(card().QueueUnitAttention(0x0A));
  EXPECT_EQ(ScsiStatus(Scsi(0x0A, Inquiry())), 0);  // INQUIRY does not report it
  Sent s = Scsi(0x0A, ReadCapacity10(), 8);
  EXPECT_EQ(ScsiStatus(s), 2);
  EXPECT_EQ(s.sense[2], 0x06);
  EXPECT_EQ(s.sense[12], 0x29);
  EXPECT_EQ(ScsiStatus(Scsi(0x0A, ReadCapacity10(), 8)), 0);  // once

  EXPECT_TRUE(card().QueueCheckCondition(0x0B, emu::SenseCode{0x02, 0x04, 0x01}, -1));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Scsi(0x0B, {0x00, 0, 0, 0, 0, 0}, 0).sense[12], 0x04);
  EXPECT_FALSE(card().QueueCheckCondition(0x33, emu::SenseCode{0x03, 0, 0}));
  EXPECT_FALSE(card().QueueUnitAttention(0x33));

  // Armed for one operation code: other commands pass, and the card file
  // keeps the condition as it is armed.
  ASSERT_TRUE(card().QueueCheckCondition(0x0C, emu::SenseCode{0x05, 0x24, 0x00}, 1, 0x25));
  std::string saved = emu::FormatHostFile(card().model());
  EXPECT_EQ(ScsiStatus(Scsi(0x0C, Inquiry())), 0);
  EXPECT_EQ(Scsi(0x0C, ReadCapacity10(), 8).sense[12], 0x24);
  EXPECT_EQ(ScsiStatus(Scsi(0x0C, ReadCapacity10(), 8)), 0);
  emu::HostModel reread;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(saved, &reread, &error)) << error;
  EXPECT_EQ(emu::FormatHostFile(reread), saved);
  EXPECT_NE(saved.find("check-condition-opcode = 0x25"), std::string::npos);
}

TEST_F(ScsiIo, MembersAnswerOnlyThroughTheRaidPassthrough) {
  Use(emu::DefaultHost());
  EXPECT_EQ(Scsi(0x0B, Inquiry()).status(), 0x0043);
  Sent s = Scsi(0x0B, Inquiry(0x80, true), 255, 0x16);
  EXPECT_EQ(s.status(), 0x0045);
  EXPECT_EQ(s.reply[3], 0x16);
  EXPECT_EQ(Text(s.dataIn, 4, 12), "ZKM2406A0106");
  EXPECT_EQ(Be32(Scsi(0x0B, ReadCapacity10(), 8, 0x16).dataIn, 0), 250069679u);
  EXPECT_EQ(Scsi(0x40, Inquiry(), 255, 0x16).status(), 0x0043);  // a volume is no physical disk
  Use(emu::UnconfiguredHost());
  EXPECT_EQ(Scsi(0x0B, Inquiry(), 255, 0x16).status(), 0x0043);  // nor is a bare module
}

TEST_F(ScsiIo, TheTransportRefusesWhatItCannotCarry) {
  EXPECT_EQ(Scsi(0x33, Inquiry()).status(), 0x0043);
  Message m = ScsiCommand(0x09, Inquiry(), 255);
  Put16(m.frame, 36, 0);
  EXPECT_EQ(Send(m).status(), 0x0007);  // no CDB
  Put16(m.frame, 36, 33);
  EXPECT_EQ(Send(m).status(), 0x0007);  // longer than the frame holds
  m = ScsiCommand(0x09, Inquiry(), 255);
  Put32(m.frame, 60, 0x01000000);
  EXPECT_EQ(Send(m).status(), 0x0007);  // data in on a write
  m = ScsiCommand(0x09, Inquiry(), 255);
  m.frame.resize(92);
  EXPECT_EQ(Send(m).status(), 0x0007);  // short frame
  m = ScsiCommand(0x09, {0x12, 0, 0, 0}, 255);
  EXPECT_EQ(Send(m).sense.at(12), 0x24);  // a CDB shorter than INQUIRY's

  m = ScsiCommand(0x09, Inquiry(), 255);
  m.frame[53] = 1;  // LUN 1
  EXPECT_EQ(Send(m).dataIn[0], 0x7F);
  m = ScsiCommand(0x09, ReadCapacity10(), 8);
  m.frame[53] = 1;
  EXPECT_EQ(Send(m).sense.at(12), 0x25);
  // The driver's data room bounds the transfer.
  m = ScsiCommand(0x09, Inquiry(), 255);
  m.dataInRoom = 20;
  Sent s = Send(m);
  EXPECT_EQ(Transferred(s), 20u);
  EXPECT_TRUE(s.guardsIntact);
}

}  // namespace
