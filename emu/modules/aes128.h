// The emulated modules' own AES-128 (FIPS-197) and CBC encryption (NIST
// SP 800-38A), with which a module checks the response to its unlock
// challenge. A plain byte-oriented cipher: state bytes in column order,
// the S-box derived from the field inverse, no tables of column words.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace emu::aes {

inline constexpr size_t kBlockBytes = 16;
inline constexpr size_t kKeyBytes = 16;
inline constexpr size_t kRounds = 10;
inline constexpr size_t kScheduleBytes = kBlockBytes * (kRounds + 1);  // 44 words

using Block = std::array<uint8_t, kBlockBytes>;

// The expanded key: round key r at bytes 16r to 16r + 15 (word i at 4i,
// most significant byte first, as FIPS-197 writes w[i]).
struct KeySchedule {
  std::array<uint8_t, kScheduleBytes> bytes{};
};

KeySchedule ExpandKey(const uint8_t key[kKeyBytes]);
Block EncryptBlock(const KeySchedule& schedule, const Block& in);
// CBC encryption of whole blocks; an input that is not a whole number of
// blocks gives an empty result.
std::vector<uint8_t> CbcEncrypt(const uint8_t key[kKeyBytes], const uint8_t iv[kBlockBytes],
                                const std::vector<uint8_t>& plain);

}  // namespace emu::aes
