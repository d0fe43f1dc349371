// AES-128-CBC encryption in place, chained from the library's
// initialisation vector (the one the module firmware shares).
#include "cardlib/unlock/module_unlock.h"
#include "cardlib/entry/os_wrappers.h"
#include "module_unlock_constants.h"

static_assert(sizeof(kModuleUnlockIv) == kAesBlockSize);

uint32_t CbcEncryptBuffer(uint8_t* buffer, uint32_t length, const uint8_t* key) {
  if (buffer == nullptr || key == nullptr || length % kAesBlockSize != 0) return 1;
  AesExpandKey(&g_aesKeySchedule, key);
  uint8_t chain[kAesBlockSize];
  ZkCopy(chain, kModuleUnlockIv, kAesBlockSize);
  for (uint32_t offset = 0; offset < length; offset += kAesBlockSize) {
    uint8_t* block = buffer + offset;
    for (uint32_t i = 0; i < kAesBlockSize; ++i) block[i] ^= chain[i];
    AesEncryptBlock(&g_aesKeySchedule, block, chain);
    ZkCopy(block, chain, kAesBlockSize);
  }
  return 0;
}
