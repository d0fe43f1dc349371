#include "emu/modules/aes128.h"

namespace emu::aes {
namespace {

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
constexpr uint8_t Multiply(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  while (b != 0) {
    if (b & 1) product ^= a;
    a = static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0x00));
    b >>= 1;
  }
  return product;
}

constexpr uint8_t RotateLeft(uint8_t x, int n) {
  return static_cast<uint8_t>((x << n) | (x >> (8 - n)));
}

// The S-box: the multiplicative inverse (0 for 0) followed by the affine
// transformation of FIPS-197 section 5.1.1.
constexpr std::array<uint8_t, 256> MakeSbox() {
  std::array<uint8_t, 256> box{};
  for (int x = 0; x < 256; ++x) {
    uint8_t inverse = 0;
    for (int y = 1; y < 256 && x != 0; ++y) {
      if (Multiply(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) == 1) {
        inverse = static_cast<uint8_t>(y);
        break;
      }
    }
    box[x] = static_cast<uint8_t>(inverse ^ RotateLeft(inverse, 1) ^ RotateLeft(inverse, 2) ^
                                  RotateLeft(inverse, 3) ^ RotateLeft(inverse, 4) ^ 0x63);
  }
  return box;
}

constexpr std::array<uint8_t, 256> kSbox = MakeSbox();
static_assert(kSbox[0x00] == 0x63 && kSbox[0x53] == 0xED && kSbox[0xFF] == 0x16);

void AddRoundKey(Block& state, const KeySchedule& schedule, size_t round) {
  for (size_t i = 0; i < kBlockBytes; ++i) state[i] ^= schedule.bytes[round * kBlockBytes + i];
}

void SubBytes(Block& state) {
  for (uint8_t& b : state) b = kSbox[b];
}

// Byte 4c + r holds row r of column c; row r moves r columns to the left.
void ShiftRows(Block& state) {
  Block before = state;
  for (size_t c = 0; c < 4; ++c) {
    for (size_t r = 0; r < 4; ++r) state[4 * c + r] = before[4 * ((c + r) % 4) + r];
  }
}

void MixColumns(Block& state) {
  for (size_t c = 0; c < 4; ++c) {
    uint8_t* col = &state[4 * c];
    uint8_t a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
    col[0] = static_cast<uint8_t>(Multiply(a0, 2) ^ Multiply(a1, 3) ^ a2 ^ a3);
    col[1] = static_cast<uint8_t>(a0 ^ Multiply(a1, 2) ^ Multiply(a2, 3) ^ a3);
    col[2] = static_cast<uint8_t>(a0 ^ a1 ^ Multiply(a2, 2) ^ Multiply(a3, 3));
    col[3] = static_cast<uint8_t>(Multiply(a0, 3) ^ a1 ^ a2 ^ Multiply(a3, 2));
  }
}

}  // namespace

KeySchedule ExpandKey(const uint8_t key[kKeyBytes]) {
  KeySchedule schedule;
  auto& w = schedule.bytes;
  for (size_t i = 0; i < kKeyBytes; ++i) w[i] = key[i];
  uint8_t rcon = 0x01;
  for (size_t i = 4; i < 4 * (kRounds + 1); ++i) {
    uint8_t t[4] = {w[4 * i - 4], w[4 * i - 3], w[4 * i - 2], w[4 * i - 1]};
    if (i % 4 == 0) {
      uint8_t first = t[0];  // RotWord, SubWord, then the round constant
      t[0] = static_cast<uint8_t>(kSbox[t[1]] ^ rcon);
      t[1] = kSbox[t[2]];
      t[2] = kSbox[t[3]];
      t[3] = kSbox[first];
      rcon = Multiply(rcon, 2);
    }
    for (size_t j = 0; j < 4; ++j) w[4 * i + j] = static_cast<uint8_t>(w[4 * (i - 4) + j] ^ t[j]);
  }
  return schedule;
}

Block EncryptBlock(const KeySchedule& schedule, const Block& in) {
  Block state = in;
  AddRoundKey(state, schedule, 0);
  for (size_t round = 1; round < kRounds; ++round) {
    SubBytes(state);
    ShiftRows(state);
    MixColumns(state);
    AddRoundKey(state, schedule, round);
  }
  SubBytes(state);
  ShiftRows(state);
  AddRoundKey(state, schedule, kRounds);
  return state;
}

std::vector<uint8_t> CbcEncrypt(const uint8_t key[kKeyBytes], const uint8_t iv[kBlockBytes],
                                const std::vector<uint8_t>& plain) {
  if (plain.size() % kBlockBytes != 0) return {};
  KeySchedule schedule = ExpandKey(key);
  std::vector<uint8_t> out(plain.size());
  Block chain;
  for (size_t i = 0; i < kBlockBytes; ++i) chain[i] = iv[i];
  for (size_t at = 0; at < plain.size(); at += kBlockBytes) {
    Block block;
    for (size_t i = 0; i < kBlockBytes; ++i) block[i] = static_cast<uint8_t>(plain[at + i] ^ chain[i]);
    chain = EncryptBlock(schedule, block);
    for (size_t i = 0; i < kBlockBytes; ++i) out[at + i] = chain[i];
  }
  return out;
}

}  // namespace emu::aes
