// The module unlock exchange against an emulated module, which checks the
// AES-128-CBC response with its own cipher.
#include <gtest/gtest.h>

#include <vector>

#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "emu/modules/aes128.h"
#include "module_unlock_constants.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {


constexpr uint8_t kSlot = 4;

class ModuleUnlock : public cardlib_test::DefaultCardModule<kSlot> {
 protected:
  std::vector<emu::SctActionRecord> Actions(uint16_t action) {
    std::vector<emu::SctActionRecord> out;
    for (const emu::SctActionRecord& r : Activity().sctActions) {
      if (r.action == action) out.push_back(r);
    }
    return out;
  }
};

TEST_F(ModuleUnlock, RightCredential) {
  EXPECT_EQ(LibZKSSDUnlock(c_.vx, ssd_, 1, kModuleUnlockCredential), 0u);
  EXPECT_EQ(Activity().unlocks, 1u);
  EXPECT_EQ(Activity().unlockLevel, 1u);
  EXPECT_EQ(Activity().challengesIssued, 1u);
  // Diagnostic information out and back, the response: each with its status read.
  EXPECT_EQ(c_.card->CountFunction(0x1C), 6u);
  EXPECT_EQ(c_.card->log().size(), 6u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 0u);
}

TEST_F(ModuleUnlock, ResponseSectorHoldsTheEncryptedChallengeAndNothingElse) {
  ASSERT_EQ(LibZKSSDUnlock(c_.vx, ssd_, 2, kModuleUnlockCredential), 0u);
  std::vector<emu::SctActionRecord> responses = Actions(0xC001);
  ASSERT_EQ(responses.size(), 1u);
  const std::vector<uint8_t>& sector = responses[0].sector;
  ASSERT_EQ(sector.size(), 512u);
  EXPECT_EQ(GetLe16(sector.data(), 0), 0xC001u);
  EXPECT_EQ(GetLe16(sector.data(), 2), 2u);  // the level
  EXPECT_EQ(std::vector<uint8_t>(sector.begin() + 4, sector.begin() + 256), std::vector<uint8_t>(252, 0));
  // The response is the challenge under AES-128-CBC, nothing appended.
  ASSERT_EQ(Activity().challenge.size(), 256u);
  std::vector<uint8_t> expected = emu::aes::CbcEncrypt(kModuleUnlockCredential, kModuleUnlockIv, Activity().challenge);
  EXPECT_EQ(std::vector<uint8_t>(sector.begin() + 256, sector.end()), expected);
  EXPECT_EQ(Activity().unlockLevel, 2u);
}

TEST_F(ModuleUnlock, WrongCredentialThreeTimes) {
  uint8_t wrong[16];
  for (int i = 0; i < 16; ++i) wrong[i] = static_cast<uint8_t>(kModuleUnlockCredential[i] ^ 0x01);
  EXPECT_EQ(LibZKSSDUnlock(c_.vx, ssd_, 1, wrong), 1u);
  EXPECT_EQ(Activity().failedUnlocks, 3u);
  EXPECT_EQ(Activity().unlocks, 0u);
  // A fresh challenge for each attempt.
  EXPECT_EQ(Activity().challengesIssued, 3u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 3000000u);
  EXPECT_EQ(Activity().unlockLevel, 0u);
}

TEST_F(ModuleUnlock, UnlockedOnTheSecondAttempt) {
  // The first command sector's status stays busy through its six reads.
  ASSERT_TRUE(c_.card->SetSctBusy(kSlot, 6));
  EXPECT_EQ(LibZKSSDUnlock(c_.vx, ssd_, 1, kModuleUnlockCredential), 0u);
  EXPECT_EQ(Activity().unlocks, 1u);
  EXPECT_EQ(c_.card->waits(), (std::vector<uint64_t>{1000000}));
}

TEST_F(ModuleUnlock, ModuleThatNeverAnswers) {
  ASSERT_TRUE(c_.card->SetModuleRefusing(kSlot, true));
  EXPECT_EQ(LibZKSSDUnlock(c_.vx, ssd_, 1, kModuleUnlockCredential), 1u);
  EXPECT_EQ(c_.card->CountFunction(0x1C), 3u);  // one refused command sector per attempt
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 3000000u);
  EXPECT_EQ(LibZKSSDUnlock(c_.vx, ssd_, 1, nullptr), 1u);
}

}  // namespace
