// AES-128 (FIPS-197) with one table of 32-bit column words: T[x] is the
// MixColumns column of S(x), bytes {2·S, S, S, 3·S} from the top; the other
// three columns are its right rotations, and S itself is its second byte.
#include <array>

#include "cardlib/unlock/module_unlock.h"

namespace {

constexpr uint8_t Xtime(uint8_t x) { return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0x00)); }

constexpr uint8_t GfMultiply(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  while (b != 0) {
    if (b & 1) product ^= a;
    a = Xtime(a);
    b >>= 1;
  }
  return product;
}

constexpr uint8_t Rotl8(uint8_t x, int n) { return static_cast<uint8_t>((x << n) | (x >> (8 - n))); }

// The S-box: the multiplicative inverse in GF(2^8), then the affine map.
constexpr std::array<uint8_t, 256> BuildSbox() {
  std::array<uint8_t, 256> sbox{};
  for (int x = 0; x < 256; ++x) {
    uint8_t inverse = 0;
    for (int y = 1; y < 256 && x != 0; ++y) {
      if (GfMultiply(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) == 1) {
        inverse = static_cast<uint8_t>(y);
        break;
      }
    }
    sbox[x] = static_cast<uint8_t>(inverse ^ Rotl8(inverse, 1) ^ Rotl8(inverse, 2) ^ Rotl8(inverse, 3) ^
                                   Rotl8(inverse, 4) ^ 0x63);
  }
  return sbox;
}

constexpr std::array<uint32_t, 256> BuildColumnTable() {
  std::array<uint8_t, 256> sbox = BuildSbox();
  std::array<uint32_t, 256> table{};
  for (int x = 0; x < 256; ++x) {
    uint8_t s = sbox[x];
    uint8_t s2 = Xtime(s);
    uint8_t s3 = static_cast<uint8_t>(s2 ^ s);
    table[x] = (static_cast<uint32_t>(s2) << 24) | (static_cast<uint32_t>(s) << 16) |
               (static_cast<uint32_t>(s) << 8) | s3;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kColumn = BuildColumnTable();
static_assert(kColumn[0x00] == 0xC66363A5u && kColumn[0x01] == 0xF87C7C84u);

constexpr uint32_t Ror(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

inline uint32_t Sbox(uint32_t x) { return (kColumn[x & 0xFF] >> 16) & 0xFF; }

inline uint32_t SubWord(uint32_t w) {
  return (Sbox(w >> 24) << 24) | (Sbox(w >> 16) << 16) | (Sbox(w >> 8) << 8) | Sbox(w);
}

inline uint32_t LoadBe32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

inline void StoreBe32(uint8_t* p, uint32_t w) {
  p[0] = static_cast<uint8_t>(w >> 24);
  p[1] = static_cast<uint8_t>(w >> 16);
  p[2] = static_cast<uint8_t>(w >> 8);
  p[3] = static_cast<uint8_t>(w);
}

constexpr int kRounds = 10;

}  // namespace

AesKeySchedule g_aesKeySchedule = {};

void AesExpandKey(AesKeySchedule* schedule, const uint8_t* key) {
  uint32_t* w = schedule->word;
  for (int i = 0; i < 4; ++i) w[i] = LoadBe32(key + 4 * i);
  uint8_t rcon = 0x01;
  for (uint32_t i = 4; i < kAesScheduleWords; ++i) {
    uint32_t temp = w[i - 1];
    if (i % 4 == 0) {
      temp = SubWord((temp << 8) | (temp >> 24)) ^ (static_cast<uint32_t>(rcon) << 24);
      rcon = Xtime(rcon);
    }
    w[i] = w[i - 4] ^ temp;
  }
}

void AesEncryptBlock(const AesKeySchedule* schedule, const uint8_t* input, uint8_t* output) {
  const uint32_t* w = schedule->word;
  uint32_t s[4];
  for (int c = 0; c < 4; ++c) s[c] = LoadBe32(input + 4 * c) ^ w[c];
  for (int round = 1; round < kRounds; ++round) {
    uint32_t t[4];
    for (int c = 0; c < 4; ++c) {
      // ShiftRows takes row r of column c from column c + r.
      t[c] = kColumn[s[c] >> 24] ^ Ror(kColumn[(s[(c + 1) % 4] >> 16) & 0xFF], 8) ^
             Ror(kColumn[(s[(c + 2) % 4] >> 8) & 0xFF], 16) ^ Ror(kColumn[s[(c + 3) % 4] & 0xFF], 24) ^
             w[4 * round + c];
    }
    for (int c = 0; c < 4; ++c) s[c] = t[c];
  }
  // The last round has no MixColumns.
  uint32_t t[4];
  for (int c = 0; c < 4; ++c) {
    t[c] = ((Sbox(s[c] >> 24) << 24) | (Sbox(s[(c + 1) % 4] >> 16) << 16) | (Sbox(s[(c + 2) % 4] >> 8) << 8) |
            Sbox(s[(c + 3) % 4])) ^
           w[4 * kRounds + c];
  }
  for (int c = 0; c < 4; ++c) StoreBe32(output + 4 * c, t[c]);
}
