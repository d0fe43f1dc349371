// The module unlock exchange over the SCT transport.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/unlock/module_unlock.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint32_t kAttempts = 3;
constexpr uint32_t kPauseMs = 1000;

// One challenge and response; 0 when the module took the response.
uint32_t UnlockOnce(uint32_t vx, uint32_t ssd, uint8_t level, const uint8_t* credential, uint8_t* block) {
  ZkFill(block, 0, sct_sector::kSize);
  PutLe16(block, sct_sector::kAction, sct_action::kDiagInfo);
  if (SctSendCommand(vx, ssd, block, sct_sector::kSize) != 0) return 1;
  ZkFill(block, 0, sct_sector::kSize);
  if (SctReadData(vx, ssd, block, sct_sector::kSize) != 0) return 1;
  // The response goes back in the command sector in place of the challenge;
  // nothing of the diagnostic information goes with it.
  if (CbcEncryptBuffer(block + diag_info::kChallenge, diag_info::kChallengeSize, credential) != 0) return 1;
  ZkFill(block, 0, diag_info::kChallenge);
  PutLe16(block, sct_sector::kAction, sct_action::kUnlock);
  PutLe16(block, sct_sector::kFunction, level);
  return SctSendCommand(vx, ssd, block, sct_sector::kSize);
}

}  // namespace

uint32_t LibZKSSDUnlock(uint32_t vxHandle, uint32_t ssdHandle, uint8_t level, const uint8_t* credential) {
  if (credential == nullptr) return 1;
  uint8_t block[sct_sector::kSize];
  for (uint32_t attempt = 0; attempt < kAttempts; ++attempt) {
    if (UnlockOnce(vxHandle, ssdHandle, level, credential, block) == 0) return 0;
    ZkSleepMs(kPauseMs);
  }
  return 1;
}
