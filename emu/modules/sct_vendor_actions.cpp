// The module firmware's vendor SCT actions. 0xC000 hands out the
// diagnostic information block with a fresh 256-byte challenge (the next
// of the module's reproducible sequence); 0xC001 takes the level in byte
// 2 and the AES-128-CBC encryption of that challenge (under the module
// unlock credential and initialisation vector the build configures) in
// bytes 256-511: right, the module is unlocked to that level; wrong, it is
// refused; either way the challenge is used up. 0xC002 answers the
// diagnostic identify data, 0xC003 (packed parameters) is taken and
// recorded. The configuration image (0xC008: function 0 read, 1 write of
// the 3072 bytes from 512) and the format settings (0xC60C read, 0xC60B
// write of 1536 bytes with the value at 62-65) need an unlocked module.
// A module armed with config-write-refusals refuses the image's data phase
// (extended status 0xC005) and keeps the image it had; one armed with
// config-writes-lost answers the write as stored and keeps the old image
// all the same, so that only a read-back shows it.
// The panic slots (0xC601, emu/modules/panic_slots.h) need no unlock; the
// raw-flash actions (0xC00B, 0xC03B, 0xC00C, emu/modules/raw_flash.h) do.
#include <algorithm>

#include "emu/modules/aes128.h"
#include "emu/modules/ata_layouts.h"
#include "emu/host/le_bytes.h"
#include "emu/modules/module_images.h"
#include "emu/modules/panic_slots.h"
#include "emu/modules/raw_flash.h"
#include "emu/modules/sct_actions.h"
#include "module_unlock_constants.h"

namespace emu {
namespace {

namespace s = ata::sct;
namespace v = ata::vendor;
using Bytes = std::vector<uint8_t>;

SctOutcome Refused(uint16_t status) { return SctOutcome{status, {}}; }

SctOutcome Read(uint16_t action, uint16_t function, Bytes data) {
  SctOutcome outcome;
  outcome.phase.kind = SctDataPhase::Kind::kRead;
  outcome.phase.action = action;
  outcome.phase.function = function;
  outcome.phase.bytes = static_cast<uint32_t>(data.size());
  outcome.phase.data = std::move(data);
  return outcome;
}

SctOutcome Write(uint16_t action, uint16_t function, uint32_t bytes) {
  SctOutcome outcome;
  outcome.phase.kind = SctDataPhase::Kind::kWrite;
  outcome.phase.action = action;
  outcome.phase.function = function;
  outcome.phase.bytes = bytes;
  return outcome;
}

SctOutcome DiagInfo(AtaContext& c, uint16_t function, const Bytes&) {
  if (function != 0) return Refused(s::kInvalidFunction);
  ModuleRuntime& r = c.runtime;
  r.challenge = UnlockChallenge(c.module, r.challengesIssued++);
  r.challengeValid = true;
  return Read(v::kDiagInfo, function, DiagInfoBlock(c.module, r.challenge));
}

SctOutcome Unlock(AtaContext& c, uint16_t function, const Bytes& sector) {
  ModuleRuntime& r = c.runtime;
  uint8_t level = static_cast<uint8_t>(function);
  if (level == 0 || (function >> 8) != 0) return Refused(s::kInvalidFunction);
  bool had = r.challengeValid;
  r.challengeValid = false;
  Bytes expected = had ? aes::CbcEncrypt(kModuleUnlockCredential, kModuleUnlockIv, r.challenge) : Bytes{};
  bool right = had && std::equal(expected.begin(), expected.end(), sector.begin() + v::kResponse);
  if (!right) {
    ++r.failedUnlocks;
    return Refused(s::kUnlockRefused);
  }
  ++r.unlocks;
  r.unlockLevel = level;
  return SctOutcome{};
}

SctOutcome DiagIdentify(AtaContext& c, uint16_t function, const Bytes&) {
  if (function != 0) return Refused(s::kInvalidFunction);
  return Read(v::kDiagIdentify, function, DiagIdentifyData(c.module));
}

SctOutcome Packed(AtaContext& c, uint16_t, const Bytes& sector) {
  c.runtime.packedActions.push_back(sector);
  return SctOutcome{};
}

SctOutcome ConfigImageAction(AtaContext& c, uint16_t function, const Bytes&) {
  if (function == 0) {
    ++c.runtime.configReads;
    return Read(v::kConfigImage, function, ConfigImage(c.module));
  }
  if (function == 1) return Write(v::kConfigImage, function, ata::config_image::kWriteBytes);
  return Refused(s::kInvalidFunction);
}

uint16_t ConfigImageWritten(AtaContext& c, const SctDataPhase&, const Bytes& data) {
  if (TakeRefusal(&c.module.configWriteRefusals)) return s::kWriteRefused;
  if (TakeRefusal(&c.module.configWritesLost)) return s::kComplete;
  WriteConfigImage(c.module, data);
  ++c.runtime.configWrites;
  return s::kComplete;
}

SctOutcome FormatSettingsRead(AtaContext& c, uint16_t function, const Bytes&) {
  if (function != 0) return Refused(s::kInvalidFunction);
  return Read(v::kFormatSettingsRead, function, FormatSettings(c.module));
}

SctOutcome FormatSettingsWrite(AtaContext& c, uint16_t function, const Bytes& sector) {
  if (function != 1) return Refused(s::kInvalidFunction);
  c.runtime.lastFormatValue = le::Get32(sector, v::kFormatValue);
  return Write(v::kFormatSettingsWrite, function, ata::format_settings::kWriteBytes);
}

uint16_t FormatSettingsWritten(AtaContext& c, const SctDataPhase&, const Bytes& data) {
  WriteFormatSettings(c.module, data);
  ++c.runtime.formatSettingsWrites;
  return s::kComplete;
}

constexpr SctVendorAction kActions[] = {
    {v::kDiagInfo, false, DiagInfo, nullptr},
    {v::kUnlock, false, Unlock, nullptr},
    {v::kDiagIdentify, false, DiagIdentify, nullptr},
    {v::kPacked, false, Packed, nullptr},
    {v::kConfigImage, true, ConfigImageAction, ConfigImageWritten},
    {v::kFormatSettingsRead, true, FormatSettingsRead, nullptr},
    {v::kFormatSettingsWrite, true, FormatSettingsWrite, FormatSettingsWritten},
    {v::kPanicLog, false, PanicLogAction, nullptr},
    {v::kPageConversion, true, PageConversionAction, nullptr},
    {v::kBlockTables, true, BlockTablesAction, nullptr},
    {v::kRawPageRead, true, RawPageReadAction, nullptr},
};

}  // namespace

const SctVendorAction* FindSctAction(uint16_t action) {
  for (const SctVendorAction& a : kActions) {
    if (a.action == action) return &a;
  }
  return nullptr;
}

}  // namespace emu
