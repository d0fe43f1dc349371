// IDENTIFY DEVICE and the module's capacity: strings in ATA's word order,
// the capacity words following SET MAX ADDRESS, the security word, the
// checksum; READ NATIVE MAX and SET MAX ADDRESS with their refusals; DEVICE
// RESET. Word offsets are the ATA command set's.
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

using AtaIdentity = ModuleFixture;

// Characters of IDENTIFY words, the first of each pair in the word's high byte.
std::string Swapped(const std::vector<uint8_t>& id, size_t word, size_t words) {
  std::string text;
  for (size_t w = word; w < word + words; ++w) {
    text += static_cast<char>(id.at(2 * w + 1));
    text += static_cast<char>(id.at(2 * w));
  }
  return text;
}

TEST_F(AtaIdentity, StringsCapacityAndChecksum) {
  std::vector<uint8_t> id = Identify(kSlot6).dataIn;
  ASSERT_EQ(id.size(), 512u);
  EXPECT_EQ(Swapped(id, 10, 10), "ZKM2406A0106        ");
  EXPECT_EQ(Swapped(id, 23, 4), "ZK80512A");
  EXPECT_EQ(Swapped(id, 27, 20), "ZKM128-SATA6G                           ");
  // Read as bytes, each pair appears swapped.
  EXPECT_EQ(id[54], 'K');
  EXPECT_EQ(id[55], 'Z');
  EXPECT_EQ(Get64(id, 200), 250069680u);   // words 100-103
  EXPECT_EQ(Get32(id, 120), 250069680u);   // words 60-61: fits 28 bits
  EXPECT_EQ(Get16(id, 2 * 217), 1);        // non-rotating
  EXPECT_EQ(id[510], 0xA5);
  uint8_t sum = 0;
  for (uint8_t b : id) sum = static_cast<uint8_t>(sum + b);
  EXPECT_EQ(sum, 0);
  // World wide name: NAA 5 and the company identifier of the module's wwn.
  uint64_t wwn = card().Module(6)->wwn;
  EXPECT_EQ(Get16(id, 216), static_cast<uint16_t>(wwn >> 48));
  EXPECT_EQ(Get16(id, 222), static_cast<uint16_t>(wwn));

  emu::ModuleModel& m = *card().Module(6);
  m.serial = "SHORT";
  m.maxSectors = 195312501;
  m.blockLength = 4096;
  id = Identify(kSlot6).dataIn;
  EXPECT_EQ(Swapped(id, 10, 10), "SHORT               ");
  EXPECT_EQ(Get64(id, 200), 195312501u);
  m.maxSectors = 390625001;
  id = Identify(kSlot6).dataIn;
  EXPECT_EQ(Get32(id, 120), 0x0FFFFFFFu);  // cut to 28 bits
  EXPECT_EQ(Get16(id, 212) & 0x1000, 0x1000);  // word 106: logical sectors above 256 words
  EXPECT_EQ(Get32(id, 234), 2048u);            // words 117-118
  sum = 0;
  for (uint8_t b : id) sum = static_cast<uint8_t>(sum + b);
  EXPECT_EQ(sum, 0);
}

TEST_F(AtaIdentity, TheSecurityWordFollowsTheModule) {
  struct Case {
    const char* what;
    void (*arm)(emu::ModuleModel&);
    uint16_t word;
  } cases[] = {
      {"new", [](emu::ModuleModel&) {}, 0x0021},
      {"user password", [](emu::ModuleModel& m) { m.userPassword = "secret"; }, 0x0023},
      {"locked", [](emu::ModuleModel& m) { m.state = emu::ModuleState::kLocked; }, 0x0027},
      {"frozen", [](emu::ModuleModel& m) { m.securityFrozen = true; }, 0x0029},
  };
  for (const Case& c : cases) {
    Use(emu::DefaultHost());
    c.arm(*card().Module(6));
    Sent s = Identify(kSlot6);
    ASSERT_TRUE(Succeeded(s)) << c.what;
    EXPECT_EQ(Get16(s.dataIn, 256), c.word) << c.what;
  }
}

TEST_F(AtaIdentity, SetMaxAddressWithinNative) {
  Sent native = Run(kSlot4, Fis{0x27, 0, 0, 0x40});
  ASSERT_TRUE(Succeeded(native));
  EXPECT_EQ(ReplyLba(native), 250069679u);
  // The new maximum address in LBA bytes 0-2 and 3 (the top byte of a
  // 32-bit address in FIS byte 8), count 1: persistent.
  Sent set = Run(kSlot4, Fis{0x37, 0, 195312500, 0x40, 1});
  ASSERT_TRUE(Succeeded(set));
  EXPECT_EQ(card().Module(4)->maxSectors, 195312501u);
  EXPECT_EQ(Get64(Identify(kSlot4).dataIn, 200), 195312501u);
  // The native maximum does not move; the capacity the SCSI side reports does.
  EXPECT_EQ(ReplyLba(Run(kSlot4, Fis{0x27, 0, 0, 0x40})), 250069679u);
  Use(emu::UnconfiguredHost());
  Run(kSlot4, Fis{0x27, 0, 0, 0x40});
  Run(kSlot4, Fis{0x37, 0, 999, 0x40, 1});
  Sent capacity = Send(ScsiCommand(kSlot4, ReadCapacity16(), 32));
  EXPECT_EQ(Be64(capacity.dataIn, 0), 999u);

  // What the card file keeps.
  std::string text = emu::FormatHostFile(card().model());
  EXPECT_NE(text.find("max-sectors = 1000\n"), std::string::npos);
}

TEST_F(AtaIdentity, SetMaxAddressRefusals) {
  emu::ModuleModel& m = *card().Module(4);
  // Not right after READ NATIVE MAX ADDRESS.
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0x37, 0, 1000, 0x40, 1})));
  Identify(kSlot4);
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0x37, 0, 1000, 0x40, 1})));
  // At or above the native capacity.
  Run(kSlot4, Fis{0x27, 0, 0, 0x40});
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0x37, 0, 250069680, 0x40, 1})));
  Run(kSlot4, Fis{0x27, 0, 0, 0x40});
  EXPECT_TRUE(Succeeded(Run(kSlot4, Fis{0x37, 0, 250069679, 0x40, 1})));
  // Armed to refuse twice, then taken.
  m.setMaxRefusals = 2;
  for (uint64_t i = 0; i < 3; ++i) {
    Run(kSlot4, Fis{0x27, 0, 0, 0x40});
    EXPECT_EQ(Succeeded(Run(kSlot4, Fis{0x37, 0, 5000 + i, 0x40, 1})), i == 2) << i;
  }
  EXPECT_EQ(m.maxSectors, 5003u);
  EXPECT_EQ(m.setMaxRefusals, 0);
  // A locked module keeps its size.
  card().LockModule(4, true, "pw");
  Run(kSlot4, Fis{0x27, 0, 0, 0x40});
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0x37, 0, 6000, 0x40, 1})));
  EXPECT_EQ(m.maxSectors, 5003u);
}

TEST_F(AtaIdentity, DeviceResetStartsTheSessionAnew) {
  ModuleFixture::DiagInfo(kSlot4);
  ASSERT_TRUE(card().ModuleActivity(4).challengeValid);
  Run(kSlot4, Fis{0x27, 0, 0, 0x40});
  Sent reset = Run(kSlot4, Fis{0x08});
  ASSERT_TRUE(Succeeded(reset));
  EXPECT_EQ(reset.reply[24], 1);  // the signature
  EXPECT_EQ(reset.reply[32], 1);
  EXPECT_FALSE(card().ModuleActivity(4).challengeValid);
  // The READ NATIVE MAX before the reset no longer counts.
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0x37, 0, 1000, 0x40, 1})));
}

}  // namespace
