// SCT over logs 0xE0 and 0xE1 and the module firmware's vendor actions:
// command sectors (action u16 at 0, function u16 at 2), the status sector
// (format version u16 at 0, device state at 10, extended status u16 at 14,
// last action and function at 16 and 18), the diagnostic block's challenge
// at 256-511, the unlock response at 256-511 of its command sector.
#include "emu/modules/aes128.h"
#include "emu/card_file/named_cards.h"
#include "module_fixture.h"
#include "module_unlock_constants.h"

using namespace rawtest;

namespace {

using Sct = ModuleFixture;

std::vector<uint8_t> Challenge(const std::vector<uint8_t>& diag) {
  return std::vector<uint8_t>(diag.begin() + 256, diag.end());
}

// The unlock command sector answering a diagnostic block: action 0xC001,
// the level in byte 2, the AES-128-CBC encryption of the challenge from 256.
std::vector<uint8_t> UnlockSector(const std::vector<uint8_t>& diag, uint8_t level,
                                  const uint8_t* key = kModuleUnlockCredential) {
  std::vector<uint8_t> sector = SctSector(0xC001, level);
  std::vector<uint8_t> response = emu::aes::CbcEncrypt(key, kModuleUnlockIv, Challenge(diag));
  std::copy(response.begin(), response.end(), sector.begin() + 256);
  return sector;
}

TEST_F(Sct, CommandDataAndStatus) {
  std::vector<uint8_t> status = SctStatus(kSlot5);
  EXPECT_EQ(Get16(status, 0), 3);
  EXPECT_EQ(status[10], 0);
  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC002, 0))));
  status = SctStatus(kSlot5);
  EXPECT_EQ(status[10], 0);
  EXPECT_EQ(Get16(status, 14), 0);
  EXPECT_EQ(Get16(status, 16), 0xC002);
  Sent identify = SctRead(kSlot5, 1);
  ASSERT_TRUE(Succeeded(identify));
  EXPECT_EQ(Text(identify.dataIn, 0, 13), "ZKM128-SATA6G");
  EXPECT_EQ(Get16(identify.dataIn, 64), 16384);        // flash page size
  EXPECT_EQ(Get32(identify.dataIn, 256), 250069680u);  // native sectors
  // The data was due once.
  EXPECT_TRUE(Aborted(SctRead(kSlot5, 1)));
  EXPECT_EQ(Get16(SctStatus(kSlot5), 14), 0xC004);
  // An unknown action and a bad function fail the command write itself.
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, SctSector(0xC0FF, 0))));
  EXPECT_EQ(Get16(SctStatus(kSlot5), 14), 0xC000);
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, SctSector(0xC000, 3))));
  EXPECT_EQ(Get16(SctStatus(kSlot5), 14), 0x0001);
  // The SCT logs take one sector; a write to 0xE1 that no command announced is refused.
  EXPECT_TRUE(Aborted(ReadLog(kSlot5, 0xE0, 2)));
  EXPECT_TRUE(Aborted(SctWrite(kSlot5, std::vector<uint8_t>(512))));
  // The packed action is taken and recorded.
  std::vector<uint8_t> packed = SctSector(0xC003, 0x0102);
  packed[40] = 7;
  EXPECT_TRUE(Succeeded(SctCommand(kSlot5, packed)));
  ASSERT_EQ(card().ModuleActivity(5).packedActions.size(), 1u);
  EXPECT_EQ(card().ModuleActivity(5).packedActions[0][40], 7);
  EXPECT_EQ(card().ModuleActivity(5).sctActions.size(), 4u);
}

TEST_F(Sct, TheBusyKnob) {
  ASSERT_TRUE(card().SetSctBusy(5, 6));
  for (int i = 0; i < 6; ++i) {
    std::vector<uint8_t> status = SctStatus(kSlot5);
    EXPECT_EQ(Get16(status, 0), 3);
    EXPECT_EQ(status[10], 5) << i;
  }
  EXPECT_EQ(SctStatus(kSlot5)[10], 0);
  EXPECT_EQ(card().ModuleActivity(5).busyStatusReads, 6u);
  EXPECT_EQ(card().ModuleActivity(5).statusReads, 7u);
  // From the card file, and a module in state busy: busy for good.
  emu::HostModel busy = emu::DefaultHost();
  busy.FirstAdapter()->FindModule(6)->sctBusy = 2;
  busy.FirstAdapter()->FindModule(7)->state = emu::ModuleState::kBusy;
  std::string text = emu::FormatHostFile(busy);
  EXPECT_NE(text.find("sct-busy = 2\n"), std::string::npos);
  EXPECT_NE(text.find("state = busy\n"), std::string::npos);
  emu::HostModel host;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(text, &host, &error)) << error;
  Use(std::move(host));
  EXPECT_EQ(SctStatus(kSlot6)[10], 5);
  EXPECT_EQ(SctStatus(kSlot6)[10], 5);
  EXPECT_EQ(SctStatus(kSlot6)[10], 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(SctStatus(kSlot7)[10], 5);
}

TEST_F(Sct, DiagnosticInformationWithAFreshChallengeEachTime) {
  std::vector<uint8_t> first = DiagInfo(kSlot5);
  std::vector<uint8_t> second = DiagInfo(kSlot5);
  ASSERT_EQ(first.size(), 512u);
  EXPECT_EQ(Text(first, 16, 4), "2519");
  EXPECT_EQ(Get32(first, 20), static_cast<uint32_t>('0'));
  EXPECT_EQ(Get64(first, 8), 250069680u);
  EXPECT_EQ(Get64(first, 0), card().Module(5)->wwn);
  EXPECT_EQ(std::vector<uint8_t>(first.begin(), first.begin() + 256),
            std::vector<uint8_t>(second.begin(), second.begin() + 256));
  EXPECT_NE(Challenge(first), Challenge(second));
  std::vector<uint8_t> other = DiagInfo(kSlot6);
  EXPECT_NE(Challenge(first), Challenge(other));
  // Random-looking: no byte value takes a tenth of the challenge.
  int counts[256] = {};
  for (uint8_t b : Challenge(first)) ++counts[b];
  for (int c : counts) EXPECT_LT(c, 26);
  // Reproducible: a new run hands out the same sequence.
  Use(emu::DefaultHost());
  EXPECT_EQ(DiagInfo(kSlot5), first);
  EXPECT_EQ(card().ModuleActivity(5).challengesIssued, 1u);
}

TEST_F(Sct, UnlockWithTheRightResponse) {
  // The configuration image needs an unlocked module.
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, SctSector(0xC008, 0))));
  EXPECT_EQ(Get16(SctStatus(kSlot5), 14), 0xC001);
  std::vector<uint8_t> diag = DiagInfo(kSlot5);
  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, UnlockSector(diag, 1))));
  EXPECT_EQ(card().ModuleActivity(5).unlockLevel, 1);
  EXPECT_EQ(card().ModuleActivity(5).unlocks, 1u);
  std::vector<uint8_t> status = SctStatus(kSlot5);
  EXPECT_EQ(status[10], 0);
  EXPECT_EQ(Get16(status, 16), 0xC001);
  EXPECT_EQ(Get16(status, 18), 1);
  EXPECT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC008, 0))));
  // Another module stays locked; a DEVICE RESET locks this one again.
  EXPECT_TRUE(Aborted(SctCommand(kSlot6, SctSector(0xC008, 0))));
  Run(kSlot5, Fis{0x08});
  EXPECT_EQ(card().ModuleActivity(5).unlockLevel, 0);
}

TEST_F(Sct, AWrongResponseUsesTheChallengeUp) {
  std::vector<uint8_t> diag = DiagInfo(kSlot5);
  uint8_t wrongKey[16] = {};
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, UnlockSector(diag, 1, wrongKey))));
  EXPECT_EQ(Get16(SctStatus(kSlot5), 14), 0xC002);
  // The right response to the used challenge no longer unlocks.
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, UnlockSector(diag, 1))));
  EXPECT_EQ(card().ModuleActivity(5).failedUnlocks, 2u);
  // A response to another module's challenge, or with level 0, fails too.
  std::vector<uint8_t> theirs = DiagInfo(kSlot6);
  DiagInfo(kSlot5);
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, UnlockSector(theirs, 1))));
  std::vector<uint8_t> fresh = DiagInfo(kSlot5);
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, UnlockSector(fresh, 0))));
  EXPECT_EQ(card().ModuleActivity(5).unlockLevel, 0);
  // A new challenge, answered right, unlocks at the level asked.
  fresh = DiagInfo(kSlot5);
  EXPECT_TRUE(Succeeded(SctCommand(kSlot5, UnlockSector(fresh, 2))));
  EXPECT_EQ(card().ModuleActivity(5).unlockLevel, 2);
  EXPECT_EQ(card().ModuleActivity(5).failedUnlocks, 3u);
}

class UnlockedSct : public Sct {
 protected:
  void Unlock(uint16_t handle) {
    ASSERT_TRUE(Succeeded(SctCommand(handle, UnlockSector(DiagInfo(handle), 1))));
  }
  std::vector<uint8_t> ReadConfig(uint16_t handle) {
    if (!Succeeded(SctCommand(handle, SctSector(0xC008, 0)))) return {};
    return SctRead(handle, 7).dataIn;
  }
};

TEST_F(UnlockedSct, ConfigurationImageRoundTripThroughTheCardFile) {
  Unlock(kSlot5);
  std::vector<uint8_t> image = ReadConfig(kSlot5);
  ASSERT_EQ(image.size(), 3584u);
  EXPECT_EQ(Text(image, 0, 4), "CDU1");
  EXPECT_EQ(image[1698] & 3, 1);                 // standard media erase
  EXPECT_EQ(Get16(image, 1710), 1);              // DLC control word
  EXPECT_EQ(image[1715], 1);
  EXPECT_EQ(Get32(image, 1716), 250069680u);     // Max LBA value: the native size
  EXPECT_EQ(image[2624], 0);                     // DLC off
  EXPECT_EQ(Get32(image, 1544), 148u);           // main customer ID

  // Write the 3072 bytes from 512 with DLC on and a new size.
  image[1698] = 0x42;
  image[2624] = image[2625] = 2;
  Put32(image, 1716, 390625001);
  Put32(image, 1544, 103);
  image[0] = 'X';  // outside what a write carries
  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC008, 1))));
  EXPECT_TRUE(Succeeded(SctWrite(kSlot5, std::vector<uint8_t>(image.begin() + 512, image.end()))));
  EXPECT_EQ(card().ModuleActivity(5).configWrites, 1u);
  // The module's native size follows the image's Max LBA group.
  EXPECT_EQ(card().Module(5)->nativeSectors, 390625001u);
  Run(kSlot5, Fis{0x27, 0, 0, 0x40});
  EXPECT_TRUE(Succeeded(Run(kSlot5, Fis{0x37, 0, 390625000, 0x40, 1})));

  // The card file keeps the image: a new run reads it back.
  emu::HostModel back;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(emu::FormatHostFile(card().model()), &back, &error)) << error;
  Use(std::move(back));
  Unlock(kSlot5);
  std::vector<uint8_t> again = ReadConfig(kSlot5);
  ASSERT_EQ(again.size(), 3584u);
  EXPECT_EQ(again[0], 'C');
  EXPECT_EQ(std::vector<uint8_t>(again.begin() + 512, again.end()),
            std::vector<uint8_t>(image.begin() + 512, image.end()));
  EXPECT_EQ(card().Module(5)->maxSectors, 390625001u);
}

TEST_F(UnlockedSct, ConfigurationImageRefusals) {
  Unlock(kSlot5);
  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC008, 1))));
  EXPECT_TRUE(Aborted(SctWrite(kSlot5, std::vector<uint8_t>(3584))));  // the whole image: too much
  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC008, 0))));
  EXPECT_TRUE(Aborted(SctRead(kSlot5, 8)));                            // more than the image
  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC008, 0))));
  EXPECT_EQ(SctRead(kSlot5, 1).dataIn.size(), 512u);                  // its start is fine
  EXPECT_TRUE(Aborted(SctCommand(kSlot5, SctSector(0xC008, 2))));
  EXPECT_TRUE(card().Module(5)->configImage.empty());
}

// A lost write is answered as stored; only the read-back shows the old
// image. The count is used up write by write and kept in the card file.
TEST_F(UnlockedSct, ConfigurationImageWritesLost) {
  card().Module(5)->configWritesLost = 1;
  const std::string file = emu::FormatHostFile(card().model());
  EXPECT_NE(file.find("\nconfig-writes-lost = 1\n"), std::string::npos);
  emu::HostModel armed;
  std::string error;
  ASSERT_TRUE(emu::ParseHostFile(file, &armed, &error)) << error;
  Use(std::move(armed));
  EXPECT_EQ(card().Module(5)->configWritesLost, 1);

  Unlock(kSlot5);
  std::vector<uint8_t> image = ReadConfig(kSlot5);
  ASSERT_EQ(image.size(), 3584u);
  const uint8_t mode = image[1698];
  image[1698] = static_cast<uint8_t>((mode & 0xFC) | 2);
  const std::vector<uint8_t> written(image.begin() + 512, image.end());
  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC008, 1))));
  EXPECT_TRUE(Succeeded(SctWrite(kSlot5, written)));
  EXPECT_EQ(card().ModuleActivity(5).configWrites, 0u);
  EXPECT_EQ(ReadConfig(kSlot5)[1698], mode);
  EXPECT_TRUE(card().Module(5)->configImage.empty());
  EXPECT_EQ(card().Module(5)->configWritesLost, 0);

  ASSERT_TRUE(Succeeded(SctCommand(kSlot5, SctSector(0xC008, 1))));
  EXPECT_TRUE(Succeeded(SctWrite(kSlot5, written)));
  EXPECT_EQ(ReadConfig(kSlot5)[1698], image[1698]);
}

TEST_F(UnlockedSct, FormatSettings) {
  EXPECT_TRUE(Aborted(SctCommand(kSlot6, SctSector(0xC60C, 0))));
  Unlock(kSlot6);
  ASSERT_TRUE(Succeeded(SctCommand(kSlot6, SctSector(0xC60C, 0))));
  std::vector<uint8_t> settings = SctRead(kSlot6, 4).dataIn;
  ASSERT_EQ(settings.size(), 2048u);
  EXPECT_EQ(Get16(settings, 4), 512);
  std::vector<uint8_t> command = SctSector(0xC60B, 1);
  command[5] = 2;
  command[27] = 1;
  Put32(command, 62, 195312501);
  settings[27] = 1;
  Put32(settings, 62, 195312501);
  ASSERT_TRUE(Succeeded(SctCommand(kSlot6, command)));
  EXPECT_TRUE(Succeeded(SctWrite(kSlot6, std::vector<uint8_t>(settings.begin(), settings.begin() + 1536))));
  EXPECT_EQ(card().ModuleActivity(6).lastFormatValue, 195312501u);
  EXPECT_EQ(card().ModuleActivity(6).formatSettingsWrites, 1u);
  ASSERT_TRUE(Succeeded(SctCommand(kSlot6, SctSector(0xC60C, 0))));
  EXPECT_EQ(Get32(SctRead(kSlot6, 4).dataIn, 62), 195312501u);
  EXPECT_EQ(card().Module(6)->formatSettings.size(), 2048u);
  // 0xC60B takes function 1 and exactly 1536 bytes.
  EXPECT_TRUE(Aborted(SctCommand(kSlot6, SctSector(0xC60B, 0))));
  ASSERT_TRUE(Succeeded(SctCommand(kSlot6, command)));
  EXPECT_TRUE(Aborted(SctWrite(kSlot6, std::vector<uint8_t>(2048))));
}

TEST_F(Sct, LockedModules) {
  Use(emu::LockedModuleHost());
  // Identity and SMART still answer; SCT does not.
  EXPECT_TRUE(Succeeded(Identify(kSlot6)));
  EXPECT_TRUE(Succeeded(Run(kSlot6, SmartFis(0xD0, 0, 1), 512)));
  EXPECT_TRUE(DiagInfo(kSlot6).empty());
  EXPECT_EQ(Get16(SctStatus(kSlot6), 14), 0xC003);
  EXPECT_FALSE(DiagInfo(kSlot5).empty());
}

}  // namespace
