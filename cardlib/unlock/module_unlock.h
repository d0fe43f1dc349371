// Unlocking a flash module for its configuration and raw-flash actions: the
// module hands out a 256-byte challenge, the host answers with the
// challenge encrypted by AES-128-CBC under the application's credential.
#pragma once

#include <cstdint>

inline constexpr uint32_t kAesBlockSize = 16;
inline constexpr uint32_t kAesKeySize = 16;
inline constexpr uint32_t kAesScheduleWords = 44;

// The AES-128 expanded key: 11 round keys of four words.
struct AesKeySchedule {
  uint32_t word[kAesScheduleWords];
};

// The schedule CbcEncryptBuffer builds from its key on every call.
extern AesKeySchedule g_aesKeySchedule;

// Unlocks the module to the level with the 16-byte credential: at most 3
// attempts, 1000 ms after each failed one. 0 unlocked, 1 failed.
uint32_t LibZKSSDUnlock(uint32_t vxHandle, uint32_t ssdHandle, uint8_t level, const uint8_t* credential);

// Encrypts the buffer in place with AES-128-CBC under the key and the
// library's initialisation vector. 0, or 1 (nothing changed) for a null
// buffer or key or a length that is not a whole number of blocks.
uint32_t CbcEncryptBuffer(uint8_t* buffer, uint32_t length, const uint8_t* key);

// FIPS-197 key expansion; the key is read as four big-endian words.
void AesExpandKey(AesKeySchedule* schedule, const uint8_t* key);
// One AES-128 block (FIPS-197 cipher); input and output may be the same.
void AesEncryptBlock(const AesKeySchedule* schedule, const uint8_t* input, uint8_t* output);
