// The customer IDs of a module set for a firmware image and put back:
// which images ask for the change, and a refused configuration write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/modules/customer_id.h"
#include "card_fixture.h"
#include "emu/modules/module_images.h"
#include "tests/app/modules/ssd_fw_fixtures.h"

namespace {

constexpr uint8_t kSlot = 4;

class CustomerId : public app_test::CardFixture {
 public:
  void SetUp() override {
    CardFixture::SetUp();
    ASSERT_EQ(LibZKGetSSDHandle(adapter_, kSlot, &ssd_), 0u);
  }
  std::pair<uint32_t, uint32_t> ModuleIds() {
    std::vector<uint8_t> image = emu::ConfigImage(*card().Module(kSlot));
    return {Le32(image, 1544), Le32(image, 1548)};
  }
  void SetModuleIds(uint32_t mainId, uint32_t subId) {
    emu::ModuleModel& module = *card().Module(kSlot);
    module.configImage = emu::ConfigImage(module);
    for (int i = 0; i < 4; ++i) {
      module.configImage[1544 + i] = static_cast<uint8_t>(mainId >> (8 * i));
      module.configImage[1548 + i] = static_cast<uint8_t>(subId >> (8 * i));
    }
  }
  uint32_t Modify(const std::vector<uint8_t>& image) {
    changed_ = 0;
    previousMain_ = previousSub_ = 0xEEEE;
    return ModifyCustomerId(adapter_, ssd_, image.data(), static_cast<uint32_t>(image.size()), &changed_,
                            &previousMain_, &previousSub_);
  }
  uint32_t Writes() { return card().ModuleActivity(kSlot).configWrites; }
  uint32_t ssd_ = 0;
  uint32_t changed_ = 0, previousMain_ = 0, previousSub_ = 0;
};

using Ids = std::pair<uint32_t, uint32_t>;

TEST_F(CustomerId, OnlyTheTriggerIdsChangeAModuleThatDiffers) {
  struct Case {
    uint32_t imageMain, imageSub, moduleMain, moduleSub;
    bool changes;
  };
  const Case cases[] = {
      {103, 7, 148, 2, true},    // the module takes the image's IDs
      {148, 9, 148, 2, true},    // the sub ID alone differs
      {103, 7, 103, 7, false},   // already the image's
      {5, 7, 148, 2, false},     // an image that asks for nothing
      {104, 7, 148, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.imageMain << "/" << c.imageSub << " on " << c.moduleMain);
    SetModuleIds(c.moduleMain, c.moduleSub);
    card().ModuleActivity(kSlot).configWrites = 0;
    app_test::SsdFwImage spec;
    spec.mainId = c.imageMain;
    spec.subId = c.imageSub;
    EXPECT_EQ(Modify(app_test::BuildSsdFwImage(spec)), 0u);
    EXPECT_EQ(changed_, c.changes ? 1u : 0u);
    EXPECT_EQ(Ids(previousMain_, previousSub_), Ids(c.moduleMain, c.moduleSub));
    EXPECT_EQ(Writes(), c.changes ? 1u : 0u);
    EXPECT_EQ(ModuleIds(), c.changes ? Ids(c.imageMain, c.imageSub) : Ids(c.moduleMain, c.moduleSub));
    EXPECT_EQ(card().TakeOutput(), "");
  }
  // And back.
  EXPECT_EQ(RestoreCustomerId(adapter_, ssd_, 148, 2), 0u);
  EXPECT_EQ(ModuleIds(), Ids(148, 2));
}

TEST_F(CustomerId, ARefusedWriteIsFailureEvenWhenTheIdsCameBack) {
  // The three tries of the change are refused; the restore's write goes in.
  card().Module(kSlot)->configWriteRefusals = 3;
  EXPECT_NE(Modify(app_test::BuildSsdFwImage()), 0u);
  EXPECT_EQ(changed_, 0u);
  EXPECT_EQ(ModuleIds(), Ids(148, 2));
  EXPECT_EQ(card().TakeOutput(),
            "\nERROR : Error in SSD write configuration. Trying to restore original main & sub customer ID... \n"
            "\nUlvane Corvexium Management Utility: Restored original main and sub customer ID successfully. \n");

  card().Module(kSlot)->configWriteRefusals = -1;
  EXPECT_NE(Modify(app_test::BuildSsdFwImage()), 0u);
  EXPECT_EQ(ModuleIds(), Ids(148, 2));
  EXPECT_EQ(card().TakeOutput(),
            "\nERROR : Error in SSD write configuration. Trying to restore original main & sub customer ID... \n"
            "\nERROR : Failed to restore Main and Sub Customer Id.\n"
            "\nERROR : Failed to restore original main and sub customer ID.\n");
  EXPECT_NE(RestoreCustomerId(adapter_, ssd_, 1, 2), 0u);
  EXPECT_EQ(card().TakeOutput(), "\nERROR : Failed to restore Main and Sub Customer Id.\n");
}

TEST_F(CustomerId, ALockedModuleOrAShortImageIsNotTouched) {
  EXPECT_NE(Modify(app_test::BuildSsdFwImage({}, app_test::SsdFwCorruption::kCutInRevision)), 0u);
  EXPECT_EQ(card().TakeOutput(), "");
  EXPECT_TRUE(card().ModuleActivity(kSlot).sctActions.empty());

  card().LockModule(kSlot, true, "vexlock");
  EXPECT_NE(Modify(app_test::BuildSsdFwImage()), 0u);
  EXPECT_EQ(card().TakeOutput(), "\nERROR : Error in LibZKSSDUnlock.\n");
  EXPECT_NE(RestoreCustomerId(adapter_, ssd_, 148, 2), 0u);
  EXPECT_EQ(card().TakeOutput(), "\nERROR : Error in LibZKSSDUnlock.\n");
  EXPECT_EQ(Writes(), 0u);
}

}  // namespace
