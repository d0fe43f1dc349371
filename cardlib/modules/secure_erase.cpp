// ATA security erase of a module: PREPARE, then ERASE UNIT with the
// password, tried again while the module is not ready for it.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint32_t kEraseAttempts = 21;
constexpr uint32_t kFirstWaitMs = 2000;
constexpr uint32_t kLaterWaitMs = 15000;
constexpr uint32_t kSettleMs = 100;
constexpr uint32_t kRetryWaitMs = 1000;
// SSDSecureErase: PREPARE tries per ERASE UNIT, and ERASE UNIT failures.
constexpr uint32_t kPrepareTries = 21;
constexpr uint32_t kEraseUnitFailures = 22;

// The ERASE UNIT block: control word (bit 0 set: the password is the
// master password; bit 1 clear: normal erase), then the 32-byte password
// field.
constexpr size_t kControlWord = 0;
constexpr size_t kPasswordField = 2;
constexpr uint16_t kControlMasterNormal = 1;

void BuildEraseBlock(uint8_t* block, const char* password, uint32_t length) {
  ZkFill(block, 0, kAtaSectorSize);
  PutLe16(block, kControlWord, kControlMasterNormal);
  ZkCopy(block + kPasswordField, password, length);
}

uint32_t Prepare(uint32_t vx, uint32_t ssd) { return SendSSDAtaCommand(vx, ssd, nullptr, 0, kAtaRowErasePrepare); }

uint32_t EraseUnit(uint32_t vx, uint32_t ssd, uint8_t* block) {
  return SendSSDAtaCommand(vx, ssd, block, kAtaSectorSize, kAtaRowEraseUnit);
}

// The password's length, or more than the field when it does not fit.
uint32_t BoundedLength(const char* password) {
  uint32_t length = 0;
  while (length <= kAtaPasswordSize && password[length] != '\0') ++length;
  return length;
}

}  // namespace

uint32_t SSDSecureEraseWithPassword(uint32_t vxHandle, uint32_t ssdHandle, const char* password) {
  if (password == nullptr) return 1;
  uint32_t length = BoundedLength(password);
  // A longer password cannot be the one the module holds.
  if (length > kAtaPasswordSize) return 1;
  uint8_t block[kAtaSectorSize];
  uint32_t result = 1;
  for (uint32_t attempt = 0; attempt < kEraseAttempts; ++attempt) {
    ZkFill(block, 0, sizeof(block));
    ZkSleepMs(attempt == 0 ? kFirstWaitMs : kLaterWaitMs);
    result = Prepare(vxHandle, ssdHandle);
    if (result != 0) continue;
    ZkSleepMs(kSettleMs);
    BuildEraseBlock(block, password, length);
    result = EraseUnit(vxHandle, ssdHandle, block);
    if (result == 0) break;
    ZkFill(block, 0, sizeof(block));
    ZkSleepMs(kRetryWaitMs);
    result = Prepare(vxHandle, ssdHandle);
    if (result != 0) continue;
    ZkSleepMs(kSettleMs);
    BuildEraseBlock(block, password, length);
    result = EraseUnit(vxHandle, ssdHandle, block);
    ZkSleepMs(kSettleMs);
    if (result == 0) break;
  }
  return result;
}

uint32_t LibZKSSDSecureErase(uint32_t vxHandle, uint32_t ssdHandle, const char* password) {
  return SSDSecureEraseWithPassword(vxHandle, ssdHandle, password);
}

uint32_t SSDSecureErase(uint32_t vxHandle, uint32_t ssdHandle) {
  uint8_t block[kAtaSectorSize];
  for (uint32_t failures = 0; failures < kEraseUnitFailures; ++failures) {
    bool prepared = false;
    for (uint32_t tries = 0; tries < kPrepareTries && !prepared; ++tries) {
      prepared = Prepare(vxHandle, ssdHandle) == 0;
    }
    if (!prepared) return 1;
    ZkSleepMs(kSettleMs);
    BuildEraseBlock(block, "", 0);
    if (EraseUnit(vxHandle, ssdHandle, block) == 0) return 0;
  }
  return 1;
}
