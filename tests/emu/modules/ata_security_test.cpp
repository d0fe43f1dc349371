// Security erase, passwords and the firmware download of a module, from raw
// FISes and data sectors: the erase block's control word at 0 (bit 0 master
// password, bit 1 enhanced) and its password from byte 2; DOWNLOAD
// MICROCODE's sectors in the count with LBA low as bits 8-15.
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"

using namespace rawtest;

namespace {

using ModuleSecurity = ModuleFixture;

std::vector<uint8_t> PasswordSector(uint16_t control, const std::string& password) {
  std::vector<uint8_t> sector(512, 0);
  Put16(sector, 0, control);
  for (size_t i = 0; i < password.size(); ++i) sector[2 + i] = static_cast<uint8_t>(password[i]);
  return sector;
}

const Fis kPrepare{0xF3};
const Fis kEraseUnit{0xF4, 0, 0, 0, 1};

TEST_F(ModuleSecurity, EraseUnitRightAfterPrepare) {
  EXPECT_TRUE(Succeeded(Run(kSlot5, kPrepare)));
  EXPECT_TRUE(Succeeded(Run(kSlot5, kEraseUnit, 0, PasswordSector(1, "abcdef"))));
  // Not right after a prepare: refused.
  EXPECT_TRUE(Aborted(Run(kSlot5, kEraseUnit, 0, PasswordSector(1, "abcdef"))));
  Run(kSlot5, kPrepare);
  Identify(kSlot5);
  EXPECT_TRUE(Aborted(Run(kSlot5, kEraseUnit, 0, PasswordSector(1, "abcdef"))));
  // An enhanced erase while the configuration image asks for extended media erase.
  card().Module(5)->configImage.assign(3584, 0);
  card().Module(5)->configImage[1698] = 0x42;
  Run(kSlot5, kPrepare);
  EXPECT_TRUE(Succeeded(Run(kSlot5, kEraseUnit, 0, PasswordSector(2, ""))));

  const std::vector<emu::EraseRecord>& erases = card().ModuleActivity(5).erases;
  ASSERT_EQ(erases.size(), 2u);
  EXPECT_TRUE(erases[0].masterPassword);
  EXPECT_FALSE(erases[0].enhanced);
  EXPECT_EQ(erases[0].password, "abcdef");
  EXPECT_EQ(erases[0].mediaEraseMode, 1);
  EXPECT_TRUE(erases[1].enhanced);
  EXPECT_EQ(erases[1].mediaEraseMode, 2);
  EXPECT_EQ(card().Module(5)->eraseCount, 2u);
  EXPECT_NE(emu::FormatHostFile(card().model()).find("erase-count = 2\n"), std::string::npos);
}

TEST_F(ModuleSecurity, PasswordsOfAnEnabledOrLockedModule) {
  // SET PASSWORD (user) enables security: the erase then needs it.
  EXPECT_TRUE(Succeeded(Run(kSlot5, Fis{0xF1, 0, 0, 0, 1}, 0, PasswordSector(0, "user1"))));
  EXPECT_TRUE(Succeeded(Run(kSlot5, Fis{0xF1, 0, 0, 0, 1}, 0, PasswordSector(1, "master1"))));
  EXPECT_EQ(Get16(Identify(kSlot5).dataIn, 256), 0x0023);
  Run(kSlot5, kPrepare);
  EXPECT_TRUE(Aborted(Run(kSlot5, kEraseUnit, 0, PasswordSector(0, "wrong"))));
  Run(kSlot5, kPrepare);
  EXPECT_TRUE(Aborted(Run(kSlot5, kEraseUnit, 0, PasswordSector(1, "user1"))));  // the master's is asked
  Run(kSlot5, kPrepare);
  EXPECT_TRUE(Succeeded(Run(kSlot5, kEraseUnit, 0, PasswordSector(1, "master1"))));
  EXPECT_EQ(Get16(Identify(kSlot5).dataIn, 256), 0x0021);  // the erase disabled security

  // A locked module erased with its user password is unlocked.
  Use(emu::LockedModuleHost());
  Run(kSlot6, kPrepare);
  EXPECT_TRUE(Succeeded(Run(kSlot6, kEraseUnit, 0, PasswordSector(0, "vexlock"))));
  EXPECT_EQ(card().Module(6)->state, emu::ModuleState::kPresent);

  // Five wrong passwords expire the count: even the right one is refused.
  Use(emu::LockedModuleHost());
  for (int i = 0; i < 5; ++i) {
    Run(kSlot6, kPrepare);
    EXPECT_TRUE(Aborted(Run(kSlot6, kEraseUnit, 0, PasswordSector(0, "guess"))));
  }
  EXPECT_EQ(Get16(Identify(kSlot6).dataIn, 256), 0x0037);  // count expired
  Run(kSlot6, kPrepare);
  EXPECT_TRUE(Aborted(Run(kSlot6, kEraseUnit, 0, PasswordSector(0, "vexlock"))));

  // A frozen module takes no security command; an empty user password is refused.
  Use(emu::DefaultHost());
  card().Module(5)->securityFrozen = true;
  EXPECT_TRUE(Aborted(Run(kSlot5, kPrepare)));
  EXPECT_TRUE(Aborted(Run(kSlot5, Fis{0xF1, 0, 0, 0, 1}, 0, PasswordSector(0, "x"))));
  EXPECT_TRUE(Aborted(Run(kSlot4, Fis{0xF1, 0, 0, 0, 1}, 0, PasswordSector(0, ""))));
}

// A firmware image of `sectors` sectors, with the revision tag at `tagAt` when given.
std::vector<uint8_t> FirmwareImage(uint32_t sectors, const std::string& revision, size_t tagAt) {
  std::vector<uint8_t> image(512u * sectors);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 13);
  std::string tag = "ZK-FWREV" + revision;
  if (!revision.empty()) std::copy(tag.begin(), tag.end(), image.begin() + static_cast<std::ptrdiff_t>(tagAt));
  return image;
}

TEST_F(ModuleSecurity, DownloadMicrocodeThenIdentifyShowsTheRevision) {
  // 258 sectors: count byte 2 and LBA low 1.
  std::vector<uint8_t> image = FirmwareImage(258, "ZK80601B", 70000);
  Sent s = Run(kSlot7, Fis{0x92, 0x07, 0x01, 0, 0x02}, 0, image);
  ASSERT_TRUE(Succeeded(s));
  EXPECT_EQ(Get32(s.reply, 44), 258u * 512);
  std::vector<uint8_t> id = Identify(kSlot7).dataIn;
  EXPECT_EQ(id[46], 'K');  // word 23: "ZK" swapped
  EXPECT_EQ(id[47], 'Z');
  EXPECT_EQ(std::string(id.begin() + 52, id.begin() + 54), "B1");  // word 26: "1B" swapped
  EXPECT_EQ(card().Module(7)->firmware, "ZK80601B");
  EXPECT_EQ(card().Module(7)->firmwareImage, image);
  ASSERT_EQ(card().ModuleActivity(7).downloads.size(), 1u);
  EXPECT_EQ(card().ModuleActivity(7).downloads[0].mode, 0x07);
  // The SCSI side's revision follows, and the card file keeps image and revision.
  Use(emu::UnconfiguredHost());
  Run(kSlot7, Fis{0x92, 0x01, 0, 0, 4}, 0, FirmwareImage(4, "ZK80777C", 100));
  Sent inquiry = Send(ScsiCommand(kSlot7, Inquiry(), 96));
  EXPECT_EQ(Text(inquiry.dataIn, 32, 4), "777C");
  emu::HostModel back;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(emu::FormatHostFile(card().model()), &back, &error)) << error;
  EXPECT_EQ(back.FirstAdapter()->FindModule(7)->firmware, "ZK80777C");
  EXPECT_EQ(back.FirstAdapter()->FindModule(7)->firmwareImage, FirmwareImage(4, "ZK80777C", 100));

  // Without the tag, or with the tag cut off by the image's end, the revision stays.
  Run(kSlot7, Fis{0x92, 0x07, 0, 0, 1}, 0, FirmwareImage(1, "", 0));
  Run(kSlot7, Fis{0x92, 0x07, 0, 0, 1}, 0, FirmwareImage(1, "ZK8", 500));
  EXPECT_EQ(card().Module(7)->firmware, "ZK80777C");
  EXPECT_EQ(card().ModuleActivity(7).downloads.back().revision, "");
}

TEST_F(ModuleSecurity, DownloadMicrocodeRefusals) {
  std::vector<uint8_t> image = FirmwareImage(2, "ZK99999Z", 0);
  EXPECT_TRUE(Aborted(Run(kSlot7, Fis{0x92, 0x03, 0, 0, 2}, 0, image)));     // offsets: not offered
  EXPECT_TRUE(Aborted(Run(kSlot7, Fis{0x92, 0x07, 0, 0, 0}, 0, image)));     // no sectors
  EXPECT_TRUE(Aborted(Run(kSlot7, Fis{0x92, 0x07, 0, 0, 3}, 0, image)));     // less data than sectors
  card().LockModule(7, true);
  EXPECT_TRUE(Aborted(Run(kSlot7, Fis{0x92, 0x07, 0, 0, 2}, 0, image)));
  EXPECT_EQ(card().Module(7)->firmware, "ZK80512A");
  EXPECT_TRUE(card().Module(7)->firmwareImage.empty());
}

}  // namespace
