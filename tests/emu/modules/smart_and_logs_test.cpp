// SMART and the logs of a module: the SMART data sector (30 attributes of
// 12 bytes from byte 2: id, flags u16, normalized, worst, raw from byte 5,
// checksum at 511), thresholds, RETURN STATUS, a failing module; SMART
// READ LOG against READ LOG EXT (directories, pages, reach), host logs and
// the vendor logs.
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

using SmartAndLogs = ModuleFixture;

uint8_t Sum(const std::vector<uint8_t>& v) {
  uint8_t sum = 0;
  for (uint8_t b : v) sum = static_cast<uint8_t>(sum + b);
  return sum;
}

// The entry of an attribute id in a SMART data or thresholds sector, or -1.
int Entry(const std::vector<uint8_t>& data, uint8_t id) {
  for (int i = 0; i < 30; ++i) {
    if (data.at(2 + 12 * i) == id) return 2 + 12 * i;
  }
  return -1;
}

TEST_F(SmartAndLogs, ReadDataLayoutAndChecksum) {
  Sent s = Run(kSlot5, SmartFis(0xD0, 0, 1), 512);
  ASSERT_TRUE(Succeeded(s));
  const std::vector<uint8_t>& d = s.dataIn;
  EXPECT_EQ(Sum(d), 0);
  EXPECT_EQ(Get16(d, 0), 0x0010);
  size_t ids = 0;
  for (int i = 0; i < 30; ++i) ids += d[2 + 12 * i] != 0 ? 1 : 0;
  EXPECT_EQ(ids, 30u);
  // Life left: normalized 96, the fraction 57 in raw bits 16-31 (bytes 7-8).
  int life = Entry(d, 231);
  ASSERT_GE(life, 0);
  EXPECT_EQ(d[life + 3], 96);
  EXPECT_EQ(Get16(d, life + 7), 57);
  EXPECT_EQ(d[life + 5] & 1, 0);  // counted in program/erase cycles
  // Temperature: normalized 38, raw byte 0 now, raw byte 2 the lifetime maximum.
  int t = Entry(d, 194);
  EXPECT_EQ(d[t + 3], 38);
  EXPECT_EQ(d[t + 5], 38);
  EXPECT_EQ(d[t + 7], 52);
  // Power-on hours: raw low 8760, the milliseconds from raw byte 4 into the vendor byte.
  int hours = Entry(d, 9);
  EXPECT_EQ(Get32(d, hours + 5), 8760u);
  EXPECT_EQ(d[hours + 9] | d[hours + 10] << 8 | d[hours + 11] << 16, 1800000);
  for (uint8_t id : {1, 5, 12, 13, 100, 170, 171, 172, 174, 177, 184, 187, 195, 199, 230, 233, 234, 241, 242, 243}) {
    EXPECT_GE(Entry(d, id), 0) << int(id);
  }

  // A forced read answers the same and is counted apart.
  Sent forced = Run(kSlot5, SmartFis(0xD0, 0, 1, 0x80), 512);
  EXPECT_EQ(forced.dataIn, d);
  EXPECT_EQ(card().ModuleActivity(5).smartReads, 2u);
  EXPECT_EQ(card().ModuleActivity(5).forcedSmartReads, 1u);
}

TEST_F(SmartAndLogs, ThresholdsReturnStatusAndSettings) {
  Sent th = Run(kSlot5, SmartFis(0xD1, 0, 1), 512);
  ASSERT_TRUE(Succeeded(th));
  EXPECT_EQ(Sum(th.dataIn), 0);
  EXPECT_EQ(th.dataIn[Entry(th.dataIn, 231) + 1], 10);
  Sent status = Run(kSlot5, SmartFis(0xDA));
  EXPECT_EQ(status.reply[25], 0x4F);
  EXPECT_EQ(status.reply[26], 0xC2);

  // Life left at its threshold: RETURN STATUS says exceeded; the settings show in READ DATA.
  ASSERT_TRUE(card().SetSmartAttribute(5, emu::SmartAttribute{231, 0x0013, 10, 10, 0x00630001, 10}));
  status = Run(kSlot5, SmartFis(0xDA));
  EXPECT_EQ(status.reply[25], 0xF4);
  EXPECT_EQ(status.reply[26], 0x2C);
  std::vector<uint8_t> d = Run(kSlot5, SmartFis(0xD0, 0, 1), 512).dataIn;
  int life = Entry(d, 231);
  EXPECT_EQ(d[life + 3], 10);
  EXPECT_EQ(Get16(d, life + 7), 0x63);
  EXPECT_EQ(d[life + 5] & 1, 1);  // counted in bad blocks
  EXPECT_EQ(Sum(d), 0);

  // A module whose SMART read fails; a wrong signature; an unknown subcommand.
  card().FailSmartRead(5);
  EXPECT_TRUE(Aborted(Run(kSlot5, SmartFis(0xD0, 0, 1), 512)));
  EXPECT_TRUE(Aborted(Run(kSlot5, SmartFis(0xD1, 0, 1), 512)));
  EXPECT_TRUE(Succeeded(ReadLog(kSlot5, 0, 1)));
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0xB0, 0xD0, 0x4F00, 0, 1}, 512)));
  EXPECT_TRUE(Aborted(Run(kSlot4, SmartFis(0xEF))));
  // Autosave and enable are taken.
  EXPECT_TRUE(Succeeded(Run(kSlot4, SmartFis(0xD2, 0xF1))));
  EXPECT_TRUE(Succeeded(Run(kSlot4, SmartFis(0xD8))));
}

TEST_F(SmartAndLogs, ReadLogAgainstReadLogExt) {
  std::vector<uint8_t> smartDir = ReadLog(kSlot4, 0x00, 1).dataIn;
  std::vector<uint8_t> gplDir = ReadLogExt(kSlot4, 0x00, 0, 1).dataIn;
  ASSERT_EQ(smartDir.size(), 512u);
  ASSERT_EQ(gplDir.size(), 512u);
  EXPECT_EQ(Get16(smartDir, 0), 1);
  EXPECT_EQ(Get16(gplDir, 0), 1);
  struct Case {
    uint8_t log;
    uint16_t smartPages, gplPages;
  } cases[] = {
      {0x01, 1, 0}, {0x03, 0, 4}, {0x04, 8, 8}, {0x06, 1, 0}, {0x07, 0, 1}, {0x09, 1, 0}, {0x10, 0, 1},
      {0x80, 16, 16}, {0x9F, 16, 16}, {0xA8, 1, 1}, {0xB7, 2, 2}, {0xE0, 1, 1}, {0xE1, 1, 1}, {0xFB, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Get16(smartDir, 2 * c.log), c.smartPages) << int(c.log);
    EXPECT_EQ(Get16(gplDir, 2 * c.log), c.gplPages) << int(c.log);
    // Each command reaches what its directory lists.
    if (c.log == 0xE0 || c.log == 0xE1 || c.log == 0xFB) continue;
    EXPECT_EQ(Succeeded(ReadLog(kSlot4, c.log, 1)), c.smartPages != 0) << int(c.log);
    EXPECT_EQ(Succeeded(ReadLogExt(kSlot4, c.log, 0, 1)), c.gplPages != 0) << int(c.log);
  }
  // READ LOG EXT reads any page, SMART READ LOG from page 0; past the end is refused.
  Sent stats = ReadLogExt(kSlot4, 0x04, 1, 1);
  EXPECT_EQ(stats.dataIn[2], 1);  // page 1 of the device statistics
  EXPECT_EQ(Get32(stats.dataIn, 16), 8760u);
  EXPECT_EQ(ReadLog(kSlot4, 0x04, 2).dataIn[512 + 2], 1);
  EXPECT_TRUE(Aborted(ReadLogExt(kSlot4, 0x04, 7, 2)));
  EXPECT_TRUE(Aborted(ReadLog(kSlot4, 0x04, 9)));
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0x2F, 0, 0x04, 0, 0}, 512)));  // no sectors
  EXPECT_TRUE(Aborted(ReadLog(kSlot4, 0x55, 1)));
}

TEST_F(SmartAndLogs, VendorAndHostLogs) {
  // The system event log: 32 MiB by READ LOG EXT only, the page high byte at FIS byte 9.
  Sent chunk = ReadLogExt(kSlot4, 0xFB, 0xF000, 4096);
  ASSERT_TRUE(Succeeded(chunk));
  EXPECT_EQ(Get32(chunk.reply, 44), 4096u * 512);
  EXPECT_EQ(Text(chunk.dataIn, 0, 4), "SYSE");
  EXPECT_EQ(Get32(chunk.dataIn, 4), 0xF000u);
  EXPECT_EQ(Get32(chunk.dataIn, 4095u * 512 + 4), 0xFFFFu);
  EXPECT_TRUE(Aborted(ReadLogExt(kSlot4, 0xFB, 0xF001, 4096)));
  EXPECT_TRUE(Aborted(ReadLog(kSlot4, 0xFB, 1)));
  // 16 MiB on a module of model type 8 with configuration "1591".
  card().Module(4)->modelType = '8';
  card().Module(4)->configId = "1591";
  EXPECT_TRUE(Succeeded(ReadLogExt(kSlot4, 0xFB, 0x7000, 4096)));
  EXPECT_TRUE(Aborted(ReadLogExt(kSlot4, 0xFB, 0x8000, 1)));

  // The SSD event log: as many sectors as the module keeps.
  Sent events = ReadLog(kSlot5, 0xB7, 2);
  ASSERT_TRUE(Succeeded(events));
  EXPECT_EQ(Get32(events.dataIn, 512 + 4), 1u << 16);  // sector 1, record 0
  card().Module(5)->eventLogSectors = 0;
  EXPECT_EQ(Get16(ReadLog(kSlot5, 0, 1).dataIn, 2 * 0xB7), 0);
  EXPECT_TRUE(Aborted(ReadLog(kSlot5, 0xB7, 1)));
  // The grown bad block list: the retired blocks.
  EXPECT_EQ(Get32(ReadLog(kSlot5, 0xA8, 1).dataIn, 0), 2u);

  // A host log keeps what was written, by either command, for the run.
  std::vector<uint8_t> data(1024);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  EXPECT_TRUE(Succeeded(WriteLog(kSlot6, 0x85, data)));
  Sent back = ReadLogExt(kSlot6, 0x85, 0, 3);
  EXPECT_EQ(std::vector<uint8_t>(back.dataIn.begin(), back.dataIn.begin() + 1024), data);
  EXPECT_EQ(back.dataIn[1024 + 7], 0);
  EXPECT_TRUE(Aborted(WriteLog(kSlot6, 0x04, std::vector<uint8_t>(512))));  // statistics are the module's
  EXPECT_TRUE(Aborted(WriteLog(kSlot6, 0xA0, std::vector<uint8_t>(512))));
}

}  // namespace
