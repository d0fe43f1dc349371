// The emulator's own AES-128 and CBC against the published vectors, and the
// unlock constants the build generates.
#include <gtest/gtest.h>

#include <string>

#include "emu/modules/aes128.h"
#include "module_unlock_constants.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

TEST(Aes128, Fips197Vectors) {
  // Appendix C.1.
  std::vector<uint8_t> key = Bytes("000102030405060708090a0b0c0d0e0f");
  std::vector<uint8_t> plain = Bytes("00112233445566778899aabbccddeeff");
  emu::aes::Block in;
  std::copy(plain.begin(), plain.end(), in.begin());
  emu::aes::Block out = emu::aes::EncryptBlock(emu::aes::ExpandKey(key.data()), in);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.end()), Bytes("69c4e0d86a7b0430d8cdb78070b4c55a"));
  // Appendix A.1: the last word of the expanded key.
  std::vector<uint8_t> key2 = Bytes("2b7e151628aed2a6abf7158809cf4f3c");
  emu::aes::KeySchedule schedule = emu::aes::ExpandKey(key2.data());
  EXPECT_EQ(std::vector<uint8_t>(schedule.bytes.end() - 4, schedule.bytes.end()), Bytes("b6630ca6"));
  EXPECT_EQ(std::vector<uint8_t>(schedule.bytes.begin(), schedule.bytes.begin() + 16), key2);
}

TEST(Aes128, Sp80038aCbcVector) {
  std::vector<uint8_t> key = Bytes("2b7e151628aed2a6abf7158809cf4f3c");
  std::vector<uint8_t> iv = Bytes("000102030405060708090a0b0c0d0e0f");
  std::vector<uint8_t> plain = Bytes(
      "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
      "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
  std::vector<uint8_t> cipher = Bytes(
      "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
      "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7");
  EXPECT_EQ(emu::aes::CbcEncrypt(key.data(), iv.data(), plain), cipher);
  // Another IV gives the same ciphertext once (vector IV xor own IV) is
  // folded into the first block: CBC chains only through the first block.
  std::vector<uint8_t> own(kModuleUnlockIv, kModuleUnlockIv + 16);
  std::vector<uint8_t> folded = plain;
  for (size_t i = 0; i < 16; ++i) folded[i] = static_cast<uint8_t>(folded[i] ^ iv[i] ^ own[i]);
  EXPECT_EQ(emu::aes::CbcEncrypt(key.data(), own.data(), folded), cipher);
  // Partial blocks are not encrypted.
  plain.pop_back();
  EXPECT_TRUE(emu::aes::CbcEncrypt(key.data(), iv.data(), plain).empty());
}

TEST(Aes128, TheGeneratedUnlockConstants) {
  EXPECT_EQ(sizeof kModuleUnlockCredential, 16u);
  EXPECT_EQ(sizeof kModuleUnlockIv, 16u);
  EXPECT_NE(std::vector<uint8_t>(kModuleUnlockCredential, kModuleUnlockCredential + 16),
            std::vector<uint8_t>(kModuleUnlockIv, kModuleUnlockIv + 16));
}

}  // namespace
