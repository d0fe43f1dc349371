// Link power management settings in SAS IO unit page 5.
#include "ctl/devices/phy_power_settings.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

constexpr uint16_t kDevHandle = 0x0011;

class PhyPower : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
    model_ = card().model().FirstAdapter();
    SetDevice(0x880, 2);
    // SAS IO unit page 5 with eight 12-byte phy entries.
    model_->SetPage(emu::PageKey{15, 5, 0x10, 0}, MakeExtPage(0x10, 5, 16 + 8 * 12, 0x80));
  }

  void SetDevice(uint32_t deviceInfo, uint8_t phy) {
    std::vector<uint8_t> page = MakeExtPage(0x12, 0, 56);
    PutLe16(&page, 24, kDevHandle);
    PutLe32(&page, 28, deviceInfo);
    page[22] = phy;
    model_->SetPage(emu::PageKey{15, 0, 0x12, kDevHandle}, page);
  }

  std::vector<uint8_t> Entry(const std::vector<uint8_t>& page, uint32_t phy) {
    return std::vector<uint8_t>(page.begin() + 16 + 12 * phy, page.begin() + 28 + 12 * phy);
  }

  const emu::ConfigPage& Page5() { return *model_->FindPage(15, 5, 0x10); }

  LibHandle adapter_ = 0;
  emu::AdapterModel* model_ = nullptr;
};

TEST_F(PhyPower, WritesThePhyEntryToNvramAndCurrent) {
  struct Case {
    const char* name;
    uint32_t deviceInfo;
    PhyPowerVariant variant;
    uint32_t disable;
    size_t timeoutAt;
    uint8_t flags;
  } cases[] = {
      {"SATA partial", 0x880, PhyPowerVariant::kPartial, 0, 4, 0x1},
      {"SATA slumber", 0x880, PhyPowerVariant::kSlumber, 0, 6, 0x2},
      {"STP slumber", 0xA00, PhyPowerVariant::kSlumber, 0, 6, 0x2},
      {"SSP partial", 0xC00, PhyPowerVariant::kPartial, 0, 8, 0x4},
      {"SSP slumber", 0xC00, PhyPowerVariant::kSlumber, 0, 10, 0x8},
      {"SATA disabled", 0x880, PhyPowerVariant::kPartial, 1, 4, 0x0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetDevice(c.deviceInfo, 2);
    model_->SetPage(emu::PageKey{15, 5, 0x10, 0}, MakeExtPage(0x10, 5, 16 + 8 * 12, 0x80));
    std::vector<uint8_t> before = Page5().nvram;
    card().ClearLog();
    EXPECT_EQ(UpdateSasPhySettings(context(), c.variant, &adapter_, kDevHandle, 5, 0x33, c.disable), kLibOk);
    std::vector<uint8_t> expected = Entry(before, 2);
    expected[0] = c.flags;
    expected[2] = 5;
    expected[3] = 0;
    expected[c.timeoutAt] = 0x33;
    EXPECT_EQ(Entry(Page5().nvram, 2), expected);
    EXPECT_EQ(Entry(Page5().current, 2), expected);
    EXPECT_EQ(Entry(Page5().nvram, 1), Entry(before, 1));
    // Device page by handle, page 5 from NVRAM, then written to NVRAM and current.
    std::vector<uint8_t> actions;
    for (const emu::LoggedCall* call : Commands(0x04)) actions.push_back(call->frame[0]);
    EXPECT_EQ(actions, (std::vector<uint8_t>{0, 0, 1, 0, 0, 6, 0, 4, 0, 2}));
    EXPECT_EQ(Le32(Commands(0x04)[0]->frame, 24), 0x20000000u | kDevHandle);
  }
}

TEST_F(PhyPower, ExponentAboveSevenIsLeftAlone) {
  std::vector<uint8_t> before = Page5().nvram;
  EXPECT_EQ(UpdateSasPhySettings(context(), PhyPowerVariant::kPartial, &adapter_, kDevHandle, 8, 1, 0), kLibOk);
  EXPECT_EQ(Page5().nvram[16 + 24 + 2], before[16 + 24 + 2]);
  EXPECT_EQ(Page5().nvram[16 + 24 + 3], before[16 + 24 + 3]);
}

TEST_F(PhyPower, RefusedWithoutWriting) {
  struct Case {
    const char* name;
    uint32_t deviceInfo;
    uint8_t phy;
  } cases[] = {
      {"expander-attached SATA device", 0x080, 2},
      {"end device without a target type", 0x800, 2},
      {"phy beyond the page", 0x880, 8},
      {"phy far beyond the page", 0x880, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetDevice(c.deviceInfo, c.phy);
    std::vector<uint8_t> before = Page5().nvram;
    card().ClearLog();
    EXPECT_EQ(UpdateSasPhySettings(context(), PhyPowerVariant::kSlumber, &adapter_, kDevHandle, 1, 1, 0),
              kLibFailure);
    EXPECT_EQ(Page5().nvram, before);
    for (const emu::LoggedCall* call : Commands(0x04)) {
      EXPECT_NE(call->frame[0], 4);
      EXPECT_NE(call->frame[0], 2);
    }
  }
  EXPECT_EQ(UpdateSasPhySettings(context(), PhyPowerVariant::kSlumber, &adapter_, 0x0099, 1, 1, 0), kLibFailure);
  card().RemovePage(15, 5, 0x10);
  SetDevice(0x880, 2);
  EXPECT_EQ(UpdateSasPhySettings(context(), PhyPowerVariant::kSlumber, &adapter_, kDevHandle, 1, 1, 0), kLibFailure);
}

TEST_F(PhyPower, WalkNeedsTheLinkPowerFieldsOfEachObject) {
  // A device record made by hand has no link power fields, so none is changed.
  LibHandle device = AddDevice(adapter_, kDevHandle)->header.handle;
  std::vector<uint8_t> before = Page5().nvram;
  EXPECT_EQ(QmxSetSlumberPowerSettings(&adapter_, 1, &device, 1, 1, 0), kLibFailure);
  EXPECT_EQ(QmxSetPartialPowerSettings(&adapter_, 0, nullptr, 1, 1, 0), kLibFailure);
  EXPECT_EQ(Page5().nvram, before);
  LibHandle missing = 0x02000999;
  EXPECT_EQ(QmxSetPartialPowerSettings(&adapter_, 1, &missing, 1, 1, 0), kLibBadHandle);
  LibHandle noAdapter = 0x01000077;
  EXPECT_EQ(QmxSetPartialPowerSettings(&noAdapter, 0, nullptr, 1, 1, 0), kLibAdapterNotFound);
}

TEST_F(PhyPower, WalkOfAnAdapterWithoutObjectsSucceeds) {
  EXPECT_EQ(QmxSetPartialPowerSettings(&adapter_, 0, nullptr, 1, 1, 0), kLibOk);
  EXPECT_EQ(card().CountFunction(0x04), 0u);
}

using PhyPowerOfTheCard = CardTest;

TEST_F(PhyPowerOfTheCard, WalkUsesTheLinkPowerFieldsTheScanRead) {
  LibHandle adapter = StartScannedCard(CardFile("default"));
  emu::AdapterModel* model = card().model().FirstAdapter();
  PhysDiskRecord* member = FirstAdapterRecord()->volumes->members;  // slot 4, phy 4
  ASSERT_NE(member, nullptr);
  std::vector<uint8_t> info(member->info.bytes, member->info.bytes + 616);
  EXPECT_EQ(Le32(info, 348), 1u);  // valid
  EXPECT_EQ(Le32(info, 352), 1u);  // slumber capable
  EXPECT_EQ(Le32(info, 356), 1u);  // partial capable
  LibHandle disk = member->header.handle;
  EXPECT_EQ(QmxSetSlumberPowerSettings(&adapter, 1, &disk, 9, 2, 0), kLibOk);
  const emu::ConfigPage* page5 = model->FindPage(15, 5, 0x10);
  ASSERT_NE(page5, nullptr);
  EXPECT_EQ(page5->nvram[16 + 12 * 4], 0x02);      // SATA slumber on
  EXPECT_EQ(page5->nvram[16 + 12 * 4 + 6], 9);     // its timeout
  EXPECT_EQ(page5->current[16 + 12 * 4], 0x02);
  // The volume's target was identified by the scan, which reads no link
  // power fields: a walk of every object stops there.
  EXPECT_EQ(QmxSetSlumberPowerSettings(&adapter, 0, nullptr, 9, 2, 0), kLibFailure);
}

}  // namespace
}  // namespace ctltest
