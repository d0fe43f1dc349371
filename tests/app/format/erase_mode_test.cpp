// A module's media erase mode set, put back and switched to standard, and
// a write the module answers as done but does not keep or refuses: only
// the byte the module then holds counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/format/erase_mode.h"
#include "card_fixture.h"
#include "emu/modules/module_images.h"

namespace {

constexpr uint8_t kSlot = 5;
constexpr size_t kModeByte = 1698;
constexpr size_t kDlcStateA = 2624;

const char kModifyFailed[] = "\nERROR : Failed to modify the Security Erase behavior\n";
const char kWriteFailed[] = "\nERROR : Error in SSD write configuration.\n";
const char kSwitched[] = "\nMedia Erase is set to extended\nMedia Erase is changed to standard";

class EraseMode : public app_test::CardFixture {
 public:
  void SetUp() override {
    CardFixture::SetUp();
    ASSERT_EQ(LibZKGetSSDHandle(adapter_, kSlot, &ssd_), 0u);
  }
  void PutModule(uint8_t mode, uint8_t dlcState) {
    emu::ModuleModel& module = *card().Module(kSlot);
    module.configImage = emu::ConfigImage(module);
    module.configImage[kModeByte] = mode;
    module.configImage[kDlcStateA] = dlcState;
  }
  uint8_t ModuleMode() { return emu::ConfigImage(*card().Module(kSlot))[kModeByte]; }
  uint32_t ssd_ = 0;
};

TEST_F(EraseMode, TheModuleHoldsTheByteOrTheCallFails) {
  enum class Call { kSet, kPutBack, kCheck };
  struct Case {
    const char* what;
    Call call;
    uint8_t before;
    uint32_t mode;
    int lost, refused;
    bool ok;
    uint8_t after;
    std::string output;
  };
  const Case cases[] = {
      {"extended keeps the other bits", Call::kSet, 0x41, 2, 0, 0, true, 0x42, ""},
      {"put back whole", Call::kPutBack, 0x42, 0x41, 0, 0, true, 0x41, ""},
      {"set, write lost", Call::kSet, 0x41, 2, 1, 0, false, 0x41, kModifyFailed},
      {"put back, write lost", Call::kPutBack, 0x42, 0x41, 1, 0, false, 0x42, kModifyFailed},
      {"set, write refused", Call::kSet, 0x41, 2, 0, 3, false, 0x41, kWriteFailed},
      {"check switches 2 to standard", Call::kCheck, 2, 0, 0, 0, true, 1, kSwitched},
      {"check, write lost", Call::kCheck, 2, 0, 1, 0, false, 2, std::string(kSwitched) + kModifyFailed},
      {"check, write refused", Call::kCheck, 2, 0, 0, 3, false, 2, std::string(kSwitched) + kWriteFailed},
      {"check leaves 0x42 alone", Call::kCheck, 0x42, 0, 1, 0, true, 0x42, ""},
      {"check leaves standard alone", Call::kCheck, 1, 0, 1, 0, true, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PutModule(c.before, 2);
    card().Module(kSlot)->configWritesLost = c.lost;
    card().Module(kSlot)->configWriteRefusals = c.refused;
    SsdConfigImage image;
    uint8_t saved = 0xEE;
    uint32_t dlcEnabled = 7;
    uint32_t result = 0;
    switch (c.call) {
      case Call::kSet:
        result = SetSsdSecureEraseMode(adapter_, ssd_, &image, &saved, c.mode, &dlcEnabled, 1);
        EXPECT_EQ(saved, c.before);
        break;
      case Call::kPutBack:
        result = SetSsdSecureEraseMode(adapter_, ssd_, &image, nullptr, c.mode, &dlcEnabled, 1);
        break;
      case Call::kCheck:
        result = SetSsdSecureEraseMode(adapter_, ssd_, &image, nullptr, 0, &dlcEnabled, 0);
        break;
    }
    EXPECT_EQ(result == 0, c.ok);
    EXPECT_EQ(ModuleMode(), c.after);
    EXPECT_EQ(dlcEnabled, 1u);
    EXPECT_EQ(card().TakeOutput(), c.output);
  }
}

TEST_F(EraseMode, TheDlcStateIsReadWithoutAWrite) {
  for (uint8_t state : {0, 1, 2, 3}) {
    SCOPED_TRACE(static_cast<int>(state));
    PutModule(0x41, state);
    card().ModuleActivity(kSlot).configWrites = 0;
    SsdConfigImage image;
    uint32_t dlcEnabled = 7;
    ASSERT_EQ(GetSsdDlcState(adapter_, ssd_, &image, &dlcEnabled), 0u);
    EXPECT_EQ(dlcEnabled, state == 2 ? 1u : 0u);
    EXPECT_EQ(card().ModuleActivity(kSlot).configWrites, 0u);
  }
  card().LockModule(kSlot, true, "vexlock");
  SsdConfigImage image;
  uint32_t dlcEnabled = 7;
  EXPECT_NE(GetSsdDlcState(adapter_, ssd_, &image, &dlcEnabled), 0u);
  EXPECT_EQ(dlcEnabled, 0u);
  EXPECT_EQ(card().TakeOutput(), "\nERROR : Error in LibZKSSDUnlock.\n");
}

}  // namespace
