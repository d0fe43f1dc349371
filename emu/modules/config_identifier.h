// A module's configuration identifier in the two forms the card gives it:
// the diagnostic information block holds a code word (four ASCII
// characters in memory order, e.g. '2' '5' '1' '9') and a type word (the
// u32 value of one ASCII digit, e.g. 0x30); extended manufacturing page 223
// holds one u32 per slot packed as hexadecimal digits, which a reader turns
// back into the two words digit by digit, lowest first: digits 0-3 are the
// code's characters in memory order, digit 4 the type ('0' + digit; a type
// word left 0 reads as '0'), and the digits stop at the first point where
// what is left of the value is 0.
//
// So type '0' with code "2519" packs as 0x9152, type '4' as 0x49152, and the
// digits 42519 read as the code characters '9' '1' '5' '2' and type '4'.
// An identifier the packed form cannot carry exactly is not recorded (0),
// which sends the reader to the diagnostic information: a character outside
// '0' to '?', or a code ending in '0' characters with type '0' (the digits
// would stop early).
#pragma once

#include <cstdint>
#include <string>

#include "emu/raid/device_model.h"

namespace emu {

struct ConfigIdentifierWords {
  uint32_t code = 0;  // little-endian: the first character in the low byte
  uint32_t type = 0;
  bool operator==(const ConfigIdentifierWords&) const = default;
};

// The words as the diagnostic information block carries them (bytes 16-23).
ConfigIdentifierWords DiagIdentifierWords(const ModuleModel& module);
// The page 223 word of a module: the packed digits, or 0 when they would
// not read back as the diagnostic information's words.
uint32_t PackConfigIdentifier(const ModuleModel& module);
// The words a packed value reads as (the reader's side, above).
ConfigIdentifierWords UnpackConfigIdentifier(uint32_t packed);

}  // namespace emu
