#include "emu/modules/config_identifier.h"

namespace emu {
namespace {

constexpr uint32_t kCodeCharacters = 4;
constexpr uint32_t kDigitBits = 4;

}  // namespace

ConfigIdentifierWords DiagIdentifierWords(const ModuleModel& m) {
  ConfigIdentifierWords words;
  for (uint32_t i = 0; i < kCodeCharacters && i < m.configId.size(); ++i) {
    words.code |= static_cast<uint32_t>(static_cast<uint8_t>(m.configId[i])) << (8 * i);
  }
  words.type = static_cast<uint8_t>(m.modelType);
  return words;
}

ConfigIdentifierWords UnpackConfigIdentifier(uint32_t packed) {
  ConfigIdentifierWords words;
  for (uint32_t k = 0; packed != 0 && k < 8; ++k, packed >>= kDigitBits) {
    uint32_t character = '0' + (packed & 0xFu);
    uint32_t& word = k < kCodeCharacters ? words.code : words.type;
    word |= character << (8 * (k % kCodeCharacters));
  }
  if (words.type == 0) words.type = '0';
  return words;
}

uint32_t PackConfigIdentifier(const ModuleModel& m) {
  ConfigIdentifierWords want = DiagIdentifierWords(m);
  uint32_t packed = 0;
  for (uint32_t k = 0; k <= kCodeCharacters; ++k) {
    uint32_t character = k < kCodeCharacters ? (want.code >> (8 * k)) & 0xFFu : want.type;
    if (character < '0' || character > '0' + 0xFu) return 0;
    packed |= (character - '0') << (kDigitBits * k);
  }
  return UnpackConfigIdentifier(packed) == want ? packed : 0;
}

}  // namespace emu
