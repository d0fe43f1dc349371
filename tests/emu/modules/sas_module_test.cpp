// The module that speaks SAS (sas-module.txt): its SAS device page 0 says
// so (device info at 28: SSP target, no SATA device bit; flags at 32), it
// names its maker in INQUIRY and answers LOG SENSE (CDB byte 2 page control
// and code, bytes 7-8 allocation; big-endian data) with the pages the
// health log collection reads, at the offsets it reads them.
#include <map>

#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

std::vector<uint8_t> LogSense(uint8_t page, uint16_t allocation) {
  return {0x4D, 0, static_cast<uint8_t>(0x40 | page), 0, 0, 0, 0,
          static_cast<uint8_t>(allocation >> 8), static_cast<uint8_t>(allocation), 0};
}

class SasModule : public ModuleFixture {
 protected:
  void SetUp() override { Use(emu::SasModuleHost()); }
  // The module in slot 7 is a RAID member: LOG SENSE goes through the RAID passthrough.
  Sent Log(uint8_t page, uint16_t allocation) {
    return Send(ScsiCommand(kSlot7, LogSense(page, allocation), allocation, 0x16));
  }
};

TEST_F(SasModule, ItsDevicePageAndInquirySaySas) {
  std::vector<uint8_t> page = Page(15, 0, 0x12, 0x20000000 | kSlot7);
  ASSERT_EQ(page.size(), 56u);
  uint32_t info = Get32(page, 28);
  EXPECT_EQ(info & 0x80, 0u);
  EXPECT_NE(info & 0x400, 0u);
  EXPECT_EQ(Get32(page, 32) & 1, 1u);
  EXPECT_NE(Get32(Page(15, 0, 0x12, 0x20000000 | kSlot6), 28) & 0x80, 0u);
  Use(emu::UnconfiguredHost());
  emu::ModuleModel& m = *card().Module(7);
  m = emu::SasModuleHost().FirstAdapter()->FindModule(7)[0];
  Sent inquiry = Send(ScsiCommand(kSlot7, Inquiry(), 96));
  EXPECT_EQ(Text(inquiry.dataIn, 8, 8), "ULVANE  ");
  EXPECT_EQ(Text(inquiry.dataIn, 16, 16), "ZKM128-SAS12G   ");
  EXPECT_EQ(Text(inquiry.dataIn, 36, 20), "ZKM2406A0107        ");
  // A SATA module's translation layer names "ATA" and keeps no log pages.
  EXPECT_EQ(Text(Send(ScsiCommand(kSlot6, Inquiry(), 96)).dataIn, 8, 8), "ATA     ");
  Sent none = Send(ScsiCommand(kSlot6, LogSense(0x2F, 424), 424));
  EXPECT_EQ(none.reply[12], 0x02);
  EXPECT_EQ(none.sense[12], 0x20);  // invalid operation code
}

TEST_F(SasModule, TheHealthLogPages) {
  // 0x2F: 17 parameters of 24 bytes from 16 (code BE u16 at +0, value BE u32 at +8).
  Sent ie = Log(0x2F, 424);
  ASSERT_EQ(ie.status(), 0);
  EXPECT_EQ(ie.reply[12], 0x00);
  ASSERT_EQ(ie.dataIn.size(), 424u);
  EXPECT_EQ(ie.dataIn[0], 0x2F);
  EXPECT_EQ(ie.dataIn[2] << 8 | ie.dataIn[3], 420);
  EXPECT_EQ(Get32(ie.dataIn, 12), 52u);  // the lifetime maximum temperature, as stored
  std::map<uint16_t, uint32_t> values;
  for (int i = 0; i < 17; ++i) {
    size_t at = 16 + 24 * i;
    values[static_cast<uint16_t>(ie.dataIn[at] << 8 | ie.dataIn[at + 1])] = Be32(ie.dataIn, at + 8);
  }
  EXPECT_EQ(values.size(), 17u);
  EXPECT_EQ(values[177], 96u);  // life left
  EXPECT_EQ(values[194], 38u);  // temperature
  EXPECT_EQ(values[9], 8760u);  // power-on hours
  EXPECT_EQ(values[5], 2u);     // reallocated blocks
  EXPECT_EQ(values[180], 1998u);
  EXPECT_EQ(values[32], 120u);  // write amplification x 100
  // 0x0E: accumulated start-stop cycles at 36.
  EXPECT_EQ(Be32(Log(0x0E, 40).dataIn, 36), 412u);
  // 0x19: blocks received (BE u64 at 24) and transmitted (at 32).
  std::vector<uint8_t> stats = Log(0x19, 164).dataIn;
  ASSERT_EQ(stats.size(), 164u);
  EXPECT_EQ(Be64(stats, 24), 12500ull * 2097152);
  EXPECT_EQ(Be64(stats, 32), 9800ull * 2097152);
  // 0x36 and 0x02: the value of parameter code 6 among 8-byte parameters from 4.
  auto codeSix = [](const std::vector<uint8_t>& page, int count) -> int64_t {
    for (int i = 0; i < count; ++i) {
      size_t at = 4 + 8 * i;
      if ((page.at(at) << 8 | page.at(at + 1)) == 6) return Be32(page, at + 4);
    }
    return -1;
  };
  ASSERT_TRUE(card().SetSmartAttribute(7, emu::SmartAttribute{199, 0x003E, 100, 100, 9, 0}));
  EXPECT_EQ(codeSix(Log(0x36, 220).dataIn, 27), 9);
  EXPECT_EQ(codeSix(Log(0x02, 28).dataIn, 3), 0);
  // The supported pages; an allocation shorter than the page cuts it.
  Sent list = Log(0x00, 64);
  std::vector<uint8_t> supported(list.dataIn.begin(), list.dataIn.begin() + Get32(list.reply, 20));
  EXPECT_EQ(list.status(), 0x0045);  // less than the data length
  EXPECT_EQ(std::vector<uint8_t>(supported.begin() + 4, supported.end()),
            (std::vector<uint8_t>{0x00, 0x02, 0x0E, 0x19, 0x2F, 0x36}));
  Sent cut = Log(0x2F, 100);
  EXPECT_EQ(cut.dataIn.size(), 100u);
  EXPECT_EQ(Get32(cut.reply, 20), 100u);
  // Pages it does not keep, and subpages: CHECK CONDITION, invalid field.
  Sent missing = Log(0x10, 64);
  EXPECT_EQ(missing.reply[12], 0x02);
  EXPECT_EQ(missing.sense[12], 0x24);
}

TEST_F(SasModule, TheCountersFollowTheModulesSettings) {
  emu::HostModel host = emu::SasModuleHost();
  std::string text = emu::FormatHostFile(host);
  size_t at = text.find("[module 7]\n");
  text.insert(at + 11, "life-left = 12\ntemperature = 77\n");
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(text, &host, &error)) << error;
  Use(std::move(host));
  std::vector<uint8_t> ie = Log(0x2F, 424).dataIn;
  EXPECT_EQ(ie[10], 77);
  EXPECT_EQ(Get32(ie, 12), 77u);
  for (int i = 0; i < 17; ++i) {
    size_t p = 16 + 24 * i;
    if ((ie[p] << 8 | ie[p + 1]) == 177) {
      EXPECT_EQ(Be32(ie, p + 8), 12u);
    }
  }
}

}  // namespace
