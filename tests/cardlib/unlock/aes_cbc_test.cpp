// AES-128 and CBC against the published vectors of FIPS-197 and
// NIST SP 800-38A.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cardlib/unlock/module_unlock.h"
#include "module_unlock_constants.h"

namespace {

std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  return bytes;
}

TEST(Aes128, EncryptsTheFipsVectors) {
  struct Case {
    const char* key;
    const char* plain;
    const char* cipher;
  };
  const Case cases[] = {
      // FIPS-197 Appendix C.1.
      {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
      // FIPS-197 Appendix B.
      {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734", "3925841d02dc09fbdc118597196a0b32"},
      // SP 800-38A F.1.1 (ECB), block 1.
      {"2b7e151628aed2a6abf7158809cf4f3c", "6bc1bee22e409f96e93d7e117393172a", "3ad77bb40d7a3660a89ecaf32466ef97"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plain);
    AesKeySchedule schedule{};
    AesExpandKey(&schedule, Hex(c.key).data());
    std::vector<uint8_t> out(16);
    AesEncryptBlock(&schedule, Hex(c.plain).data(), out.data());
    EXPECT_EQ(out, Hex(c.cipher));
  }
}

TEST(Aes128, KeyExpansionOfAppendixA1) {
  AesKeySchedule schedule{};
  AesExpandKey(&schedule, Hex("2b7e151628aed2a6abf7158809cf4f3c").data());
  EXPECT_EQ(schedule.word[0], 0x2b7e1516u);  // the key read as big-endian words
  EXPECT_EQ(schedule.word[4], 0xa0fafe17u);
  EXPECT_EQ(schedule.word[43], 0xb6630ca6u);
}

TEST(Aes128, EncryptsInPlace) {
  AesKeySchedule schedule{};
  AesExpandKey(&schedule, Hex("000102030405060708090a0b0c0d0e0f").data());
  std::vector<uint8_t> block = Hex("00112233445566778899aabbccddeeff");
  AesEncryptBlock(&schedule, block.data(), block.data());
  EXPECT_EQ(block, Hex("69c4e0d86a7b0430d8cdb78070b4c55a"));
}

TEST(Cbc, MatchesSp80038aWithTheLibraryIv) {
  // F.2.1 uses IV 000102...0f; the library chains from its own vector, so
  // the difference of the two is folded into the first plaintext block.
  std::vector<uint8_t> vectorIv = Hex("000102030405060708090a0b0c0d0e0f");
  std::vector<uint8_t> buffer = Hex(
      "6bc1bee22e409f96e93d7e117393172a" "ae2d8a571e03ac9c9eb76fac45af8e51"
      "30c81c46a35ce411e5fbc1191a0a52ef" "f69f2445df4f9b17ad2b417be66c3710");
  for (int i = 0; i < 16; ++i) buffer[i] ^= vectorIv[i] ^ kModuleUnlockIv[i];
  ASSERT_EQ(CbcEncryptBuffer(buffer.data(), static_cast<uint32_t>(buffer.size()),
                             Hex("2b7e151628aed2a6abf7158809cf4f3c").data()),
            0u);
  EXPECT_EQ(buffer, Hex("7649abac8119b246cee98e9b12e9197d" "5086cb9b507219ee95db113a917678b2"
                        "73bed6b8e3c1743b7116e69e22229516" "3ff1caa1681fac09120eca307586e1a7"));
}

TEST(Cbc, RefusesPartialBlocksAndLeavesThemAlone) {
  std::vector<uint8_t> key(16, 0x11);
  for (uint32_t length : {1u, 15u, 17u, 255u}) {
    SCOPED_TRACE(length);
    std::vector<uint8_t> buffer(length, 0xAB);
    EXPECT_EQ(CbcEncryptBuffer(buffer.data(), length, key.data()), 1u);
    EXPECT_EQ(buffer, std::vector<uint8_t>(length, 0xAB));
  }
  uint8_t block[16] = {};
  EXPECT_EQ(CbcEncryptBuffer(nullptr, 16, key.data()), 1u);
  EXPECT_EQ(CbcEncryptBuffer(block, 16, nullptr), 1u);
}

}  // namespace
