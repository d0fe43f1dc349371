// What the listings read of the controller: SAS IO unit control operation
// 0x96 (the PSoC version, u16 at reply byte 12), IOC page 1 (the PCI slot
// at byte 13, bus 14, segment 15) and the extended manufacturing pages
// (type 15, extended type 0x1A, 8-byte header): 221 the trim counts (u64 at
// 16 + 8 x slot), 222 the power sensors (u32 mW at 8, 12, 16), 223 the
// versions (u32 at 8 firmware, 12 legacy BIOS, 16 UEFI, 20 package) and a
// configuration identifier per slot from 24.
#include "card_fixture.h"
#include "emu/card_file/named_cards.h"

using namespace rawtest;

namespace {

constexpr uint8_t kExtMfg = 0x1A;

class ListingPages : public CardFixture {
 protected:
  std::vector<uint8_t> Ext(uint8_t number) { return Page(15, number, kExtMfg); }
};

TEST_F(ListingPages, PsocVersionIsOperation0x96) {
  Sent s = Send(IoUnitControl(0x96));
  EXPECT_EQ(s.status(), 0);
  EXPECT_EQ(Get16(s.reply, 12), 0x0307);
  adapter().psocVersion = 0;  // a board without one: success and 0
  s = Send(IoUnitControl(0x96));
  EXPECT_EQ(s.status(), 0);
  EXPECT_EQ(Get16(s.reply, 12), 0);
  card().AnswerFunction(0x1B, 0x0004, 0, 1);
  EXPECT_EQ(Send(IoUnitControl(0x96)).status(), 0x0004);
  ASSERT_EQ(card().IoUnitControls().size(), 2u);
  EXPECT_EQ(card().IoUnitControls()[0].operation, 0x96);
  EXPECT_EQ(card().IoUnitControls()[0].value, 0x0307);
}

TEST_F(ListingPages, IocPage1HoldsTheSlotAndFollowsTheSetting) {
  std::vector<uint8_t> page = Page(1, 1);
  ASSERT_EQ(page.size(), 24u);
  EXPECT_EQ(page[1], 6);  // words
  EXPECT_EQ(page[3], 1);
  EXPECT_EQ(page[13], 0x05);
  EXPECT_EQ(page[14], 0x03);  // bus
  EXPECT_EQ(page[15], 0x00);  // segment
  Use(emu::SysfsSlotHost());
  EXPECT_EQ(Page(1, 1).at(13), 0xFF);
}

TEST_F(ListingPages, TrimCountsAndPowerReadings) {
  std::vector<uint8_t> trim = Ext(221);
  ASSERT_EQ(trim.size(), 80u);
  EXPECT_EQ(trim[2], 221);
  EXPECT_EQ(trim[3], 15);
  EXPECT_EQ(Get16(trim, 4), 20);  // extended length in words
  EXPECT_EQ(trim[6], kExtMfg);
  for (uint8_t slot = 0; slot < 8; ++slot) {
    uint64_t expected = slot >= 4 ? 120000 + 1000ull * slot : 0;  // slots 0-3 have no module
    EXPECT_EQ(Get64(trim, 16 + 8 * slot), expected) << int(slot);
  }
  card().Module(6)->trimCount = 0x1122334455667788ull;
  EXPECT_EQ(Get64(Ext(221), 16 + 8 * 6), 0x1122334455667788ull);

  std::vector<uint8_t> power = Ext(222);
  ASSERT_EQ(power.size(), 24u);
  EXPECT_EQ(Get32(power, 8), 12350u);   // 12 V
  EXPECT_EQ(Get32(power, 12), 2850u);   // 3.3 V
  EXPECT_EQ(Get32(power, 16), 15200u);  // total
}

// The versions of page 223, read here out of the images in flash with the
// image formats' own offsets: the firmware head's u32 at 0x14 and 0x1C, the
// option ROM's first legacy image (code revision << 16 and the two bytes
// after its revision-3 PCI data structure) and first UEFI image (r the code
// revision: (r >> 13) << 24 | (r & 0x1F00) << 8 | r).
TEST_F(ListingPages, Page223VersionsAreThoseOfTheImagesInFlash) {
  const std::vector<uint8_t>& fw = adapter().images[1].bytes;
  const std::vector<uint8_t>& rom = adapter().images[2].bytes;
  size_t legacyPcir = Get16(rom, 0x18);
  ASSERT_EQ(rom[legacyPcir + 0x14], 0);
  size_t efi = Get16(rom, legacyPcir + 0x10) * 512u;
  size_t efiPcir = efi + Get16(rom, efi + 0x18);
  ASSERT_EQ(rom[efiPcir + 0x14], 3);
  uint16_t r = Get16(rom, efiPcir + 0x12);

  std::vector<uint8_t> page = Ext(223);
  ASSERT_EQ(page.size(), 56u);
  EXPECT_EQ(Get32(page, 8), Get32(fw, 0x14));
  EXPECT_EQ(Get32(page, 8), 0x0E000500u);
  EXPECT_EQ(Get32(page, 12), static_cast<uint32_t>(Get16(rom, legacyPcir + 0x12)) << 16 |
                                 rom[legacyPcir + 28] << 8 | rom[legacyPcir + 29]);
  EXPECT_EQ(Get32(page, 12), 0x08120000u);
  EXPECT_EQ(Get32(page, 16), (static_cast<uint32_t>(r >> 13) << 24) | ((r & 0x1F00u) << 8) | r);
  EXPECT_EQ(Get32(page, 16), 0x01012105u);  // printed 01.01.00.05
  EXPECT_EQ(Get32(page, 20), Get32(fw, 0x1C));
  EXPECT_EQ(Get32(page, 20), 0x0E020500u);

  // A new image in flash shows at once; images that are gone or broken
  // give no version (0 for the firmware, 0xFFFFFFFF for the option ROM).
  adapter().images[1].bytes[0x14] = 0x07;
  EXPECT_EQ(Get32(Ext(223), 8), 0x0E000507u);
  adapter().images[1].bytes[3] = 0;  // signature word 0 broken
  adapter().images.erase(2);
  page = Ext(223);
  EXPECT_EQ(Get32(page, 8), 0u);
  EXPECT_EQ(Get32(page, 20), 0u);
  EXPECT_EQ(Get32(page, 12), 0xFFFFFFFFu);
  EXPECT_EQ(Get32(page, 16), 0xFFFFFFFFu);
}

TEST_F(ListingPages, TheExtendedPagesAreReadOnlyAndPage223CanBeAbsent) {
  std::vector<uint8_t> page = Ext(223);
  EXPECT_EQ(WritePage(card(), fd_, 15, 223, page, 2, kExtMfg), 0x0020);
  EXPECT_EQ(Status(15, 220, kExtMfg), 0x0022);
  EXPECT_EQ(Status(15, 224, kExtMfg), 0x0022);
  Use(emu::NoPage223Host());
  EXPECT_EQ(Status(15, 223, kExtMfg), 0x0022);
  EXPECT_EQ(Status(15, 221, kExtMfg), 0);
  EXPECT_EQ(Status(15, 222, kExtMfg), 0);
  // A card file may give the page bytes of its own; they are read as given.
  std::vector<uint8_t> own = page;
  Put32(own, 24 + 4 * 4, 0x12345);
  adapter().SetPage(emu::PageKey{15, 223, kExtMfg, 0}, own);
  EXPECT_EQ(Ext(223), own);
}

}  // namespace
