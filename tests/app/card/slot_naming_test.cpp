// Board types, the cage and location of a slot, and the card state, from
// the table and from the card's own pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/card/board_type.h"
#include "app/card/card_state.h"
#include "app/shell/program_state.h"
#include "app/card/slot_naming.h"
#include "app_test_support.h"
#include "card_fixture.h"

namespace {

struct Place {
  uint32_t cage;
  const char* location;
};

constexpr Place U(uint32_t cage) { return {cage, "Upper"}; }
constexpr Place L(uint32_t cage) { return {cage, "Lower"}; }
constexpr Place N = {0, "Unknown"};

TEST(SlotTable, EveryBoardTypeAndSlot) {
  struct Row {
    uint32_t boardType;
    uint32_t subsystem;
    Place slots[9];  // slots 0 to 8
  };
  const Row rows[] = {
      {1, 0x0000, {L(1), U(1), L(2), N, U(2), L(3), U(3), N, N}},
      {2, 0x017E, {L(1), U(1), L(2), N, U(2), L(3), U(3), N, N}},
      {3, 0x0200, {U(1), L(1), U(2), L(2), U(3), L(3), U(4), L(4), N}},
      {4, 0x0300, {L(1), U(1), L(2), U(2), N, N, N, N, N}},
      {5, 0x0500, {N, N, N, N, N, N, N, N, N}},
      {6, 0x1000, {U(1), L(1), U(2), L(2), U(3), L(3), N, N, N}},
      {7, 0x0500, {N, N, N, N, U(1), L(1), U(2), L(2), N}},
      {8, 0x0500, {N, N, N, N, U(1), L(1), U(2), L(2), N}},
      {9, 0x0500, {L(1), U(1), U(2), L(2), L(3), U(3), U(4), L(4), N}},
      {10, 0x0500, {N, N, L(1), L(1), L(2), L(2), L(3), L(3), N}},
      {11, 0x0500, {N, N, N, N, U(1), L(1), U(2), L(2), N}},
      {12, 0x0500, {N, N, N, N, U(1), L(1), U(2), L(2), N}},
      {13, 0x0500, {N, N, N, N, N, N, N, N, N}},
      {0, 0x0500, {N, N, N, N, N, N, N, N, N}},
      // The unconfigured card's subsystem ID gives every board type from 4
      // on the type-4 layout; types 1 to 3 keep their own.
      {1, 0x0072, {L(1), U(1), L(2), N, U(2), L(3), U(3), N, N}},
      {3, 0x0072, {U(1), L(1), U(2), L(2), U(3), L(3), U(4), L(4), N}},
      {5, 0x0072, {L(1), U(1), L(2), U(2), N, N, N, N, N}},
      {6, 0x0072, {L(1), U(1), L(2), U(2), N, N, N, N, N}},
      {9, 0x0072, {L(1), U(1), L(2), U(2), N, N, N, N, N}},
  };
  for (const Row& row : rows) {
    for (uint16_t slot = 0; slot < 9; ++slot) {
      SCOPED_TRACE("board " + std::to_string(row.boardType) + " subsystem " + std::to_string(row.subsystem) +
                   " slot " + std::to_string(slot));
      EXPECT_EQ(CageOfSlot(row.boardType, row.subsystem, slot), row.slots[slot].cage);
      EXPECT_STREQ(LocationOfSlot(row.boardType, row.subsystem, slot), row.slots[slot].location);
    }
  }
  EXPECT_EQ(CageOfSlot(9, 0x0500, 0xFFFF), 0u);
}

TEST(SlotTable, BoardTypeFromTheSubsystemId) {
  const std::pair<uint32_t, uint32_t> cases[] = {
      {0x0000, 1}, {0x00FF, 1}, {0x0100, 2}, {0x017E, 2}, {0x0200, 3}, {0x0300, 4}, {0x0400, 0},
      {0x0500, 7}, {0x05A5, 7}, {0x1000, 6}, {0x0072, 1}, {0x2000, 0}, {0xFF00, 0},
  };
  for (const auto& [subsystem, type] : cases) EXPECT_EQ(BoardTypeFromSubsystemId(subsystem), type) << subsystem;
}

class BoardOfTheCard : public app_test::CardFixture {
 protected:
  void SetUp() override {}
  // The default card with these settings, its pages made from them.
  void StartWith(uint8_t boardType, uint16_t subsystem, uint32_t boardFlags = 0) {
    emu::HostModel host = emu::DefaultHost();
    emu::AdapterModel& a = *host.FirstAdapter();
    a.boardType = boardType;
    a.subsystemDeviceId = subsystem;
    a.boardFlags = boardFlags;
    a.pages = emu::DefaultPages(a);
    Start(std::move(host));
    SelectedController = 1;
  }
  void EditPage10(size_t offset, uint8_t value) {
    emu::ConfigPage* page = model().FindPage(9, 10);
    ASSERT_NE(page, nullptr);
    for (std::vector<uint8_t>* copy : {&page->current, &page->defaults, &page->nvram}) copy->at(offset) = value;
  }
};

TEST_F(BoardOfTheCard, FromTheManufacturingPageOrTheSubsystemId) {
  StartWith(9, 0x0500);
  EXPECT_EQ(GetBoardType(0), 9u);
  EXPECT_EQ(SlotToCage(3), 2u);
  EXPECT_STREQ(SlotToLocation(3), "Lower");

  StartWith(0, 0x017E);
  EXPECT_EQ(GetBoardType(0), 2u);
  EXPECT_EQ(SlotToCage(3), 0u);
  EXPECT_STREQ(SlotToLocation(3), "Unknown");
  EXPECT_EQ(SlotToCage(6), 3u);
  EXPECT_STREQ(SlotToLocation(6), "Upper");

  StartWith(6, 0x0072);
  EXPECT_EQ(SlotToCage(4), 0u);
  EXPECT_EQ(SlotToCage(3), 2u);
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(BoardOfTheCard, AnUnknownBoardNamesNoCageAndSaysSo) {
  StartWith(7, 0x0500);
  // A page without its signature gives no board type.
  EditPage10(4, 0x00);
  EXPECT_EQ(GetBoardType(0), 0u);
  EXPECT_EQ(SlotToCage(4), 0u);
  EXPECT_EQ(card().TakeOutput(), "\n\n Invalid Board Type \n\n");
  EXPECT_STREQ(SlotToLocation(4), "Unknown");
  EXPECT_EQ(card().TakeOutput(), "\n Invalid Board Type PE\n\n");

  // A page too short for byte 5 gives none either.
  StartWith(7, 0x0500);
  card().CutPage(9, 10, 0, 4);
  EXPECT_EQ(GetBoardType(0), 0u);

  // A card that is not there: cage 0 and "Unknown" without a word.
  StartWith(7, 0x0500);
  SelectedController = 2;
  EXPECT_EQ(SlotToCage(4), 0u);
  EXPECT_STREQ(SlotToLocation(4), "Unknown");
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(BoardOfTheCard, CardStateFromTheBoardFlags) {
  struct Case {
    uint16_t subsystem;
    uint32_t flags;
    bool unconfigured;
  };
  const Case cases[] = {
      {0x0500, 0x00, false}, {0x0500, 0x01, true}, {0x0500, 0x21, true}, {0x0500, 0x03, false},
      {0x0500, 0x02, false}, {0x0072, 0x00, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    StartWith(7, c.subsystem, c.flags);
    bool flag = !c.unconfigured;
    EXPECT_EQ(CheckCardState(&flag), 0u);
    EXPECT_EQ(flag, c.unconfigured);
  }
  EXPECT_EQ(card().TakeOutput(), "");

  // The subsystem ID alone decides: page 10 is not read.
  StartWith(7, 0x0072);
  card().RemovePage(9, 10);
  bool flag = false;
  EXPECT_EQ(CheckCardState(&flag), 0u);
  EXPECT_TRUE(flag);

  const std::string notProper = app_test::kTitle + ": Corvexium is not in a proper state.\n";
  StartWith(7, 0x0500, 1);
  card().RemovePage(9, 10);
  EXPECT_EQ(CheckCardState(&flag), 1u);
  EXPECT_FALSE(flag);
  EXPECT_EQ(card().TakeOutput(), notProper);
  // A page that ends before the flags word is no answer.
  card().ClearFaults();
  card().CutPage(9, 10, 0, 24);
  EXPECT_EQ(CheckCardState(&flag), 1u);
  EXPECT_EQ(card().TakeOutput(), notProper);

  SelectedController = 2;
  EXPECT_NE(CheckCardState(&flag), 0u);
  EXPECT_EQ(card().TakeOutput(), app_test::Message("Failed getting controller information."));
}

}  // namespace
