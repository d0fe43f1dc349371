// The PCIe link from IO unit page 7 and the slot from IOC page 1, with the
// pages as the card holds them, missing, or too short for the fields.
#include <gtest/gtest.h>

#include <vector>

#include "app/card/pci_link.h"
#include "card_fixture.h"

namespace {

class PciLink : public app_test::CardFixture {
 protected:
  // IOC page 1 (type 1, number 1): a 4-byte header and `size` bytes in all.
  void SetIocPage1(uint32_t size, uint8_t slot) {
    std::vector<uint8_t> page(size, 0);
    page[0] = 3;
    page[1] = static_cast<uint8_t>(size / 4);
    page[2] = 1;
    page[3] = 1;
    if (size > 13) page[13] = slot;
    model().SetPage(emu::PageKey{1, 1, 0, 0}, page);
  }
};

TEST_F(PciLink, LinkWidthAndSpeedOfTheCard) {
  uint8_t width = 0, speed = 0;
  EXPECT_EQ(GetPcieLinkInfo(adapter_, &width, &speed), 0u);
  EXPECT_EQ(width, 8);  // the default card: x8 at 8.0 Gbps
  EXPECT_EQ(speed, 2);
  model().linkWidth = 4;
  model().linkSpeed = 1;
  model().pages = emu::DefaultPages(model());
  EXPECT_EQ(GetPcieLinkInfo(adapter_, &width, &speed), 0u);
  EXPECT_EQ(width, 4);
  EXPECT_EQ(speed, 1);
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(PciLink, LinkPageFailuresLeaveTheOutputs) {
  struct Case {
    const char* name;
    void (*arm)(emu::Emulator&);
  } cases[] = {
      {"page missing", [](emu::Emulator& e) { e.RemovePage(0, 7); }},
      {"size query refused", [](emu::Emulator& e) { e.AnswerConfigPage(0, 7, 0, 0x0004, 0, 1); }},
      // A page that ends before byte 7 holds no link.
      {"page too short", [](emu::Emulator& e) { e.CutPage(0, 7, 0, 4); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    card().ClearFaults();
    c.arm(card());
    uint8_t width = 0xAB, speed = 0xCD;
    EXPECT_EQ(GetPcieLinkInfo(adapter_, &width, &speed), 1u);
    EXPECT_EQ(width, 0xAB);
    EXPECT_EQ(speed, 0xCD);
  }
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(PciLink, SlotFromIocPage1) {
  uint8_t slot = 0x55;
  // A card without IOC page 1 leaves the slot as it was.
  card().RemovePage(1, 1);
  EXPECT_EQ(GetPciSlotFromIoc(adapter_, &slot), 1u);
  EXPECT_EQ(slot, 0x55);
  card().ClearFaults();

  SetIocPage1(20, 0x07);
  EXPECT_EQ(GetPciSlotFromIoc(adapter_, &slot), 0u);
  EXPECT_EQ(slot, 0x07);
  SetIocPage1(20, 0xFF);  // not known: answered as read
  EXPECT_EQ(GetPciSlotFromIoc(adapter_, &slot), 0u);
  EXPECT_EQ(slot, 0xFF);

  slot = 0x55;
  SetIocPage1(12, 0x07);  // ends before byte 13
  EXPECT_EQ(GetPciSlotFromIoc(adapter_, &slot), 1u);
  EXPECT_EQ(slot, 0x55);
  EXPECT_EQ(card().TakeOutput(), "");
}

}  // namespace
