// The ATA security feature set as the modules keep it. Security is enabled
// while a user password is set (and always for a locked module); the
// master password is the module's own. SECURITY ERASE UNIT must come right
// after SECURITY ERASE PREPARE; with security enabled its password must
// match the one its control word names (bit 0: master), and five wrong
// passwords expire the count until the next run. An erase disables
// security, unlocks the module, clears its user data (the data-erased
// mark), counts in the card file and is recorded
// with the media erase mode the configuration image holds. A frozen module
// refuses all of it.
#include <algorithm>

#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"
#include "emu/host/le_bytes.h"
#include "emu/modules/module_images.h"

namespace emu {
namespace {

namespace sec = ata::security;

bool SecurityEnabled(const ModuleModel& m) { return !m.userPassword.empty() || m.state == ModuleState::kLocked; }

bool CountExpired(const ModuleRuntime& r) { return r.wrongPasswords >= sec::kMaxWrongPasswords; }

// The password field of a sector as text (up to the first zero byte).
std::string PasswordOf(const std::vector<uint8_t>& sector) {
  std::string text;
  for (uint32_t i = 0; i < sec::kPasswordBytes && sector[sec::kPassword + i] != 0; ++i) {
    text += static_cast<char>(sector[sec::kPassword + i]);
  }
  return text;
}

// The 32 password bytes compare; a stored password is zero-padded.
bool PasswordMatches(const std::vector<uint8_t>& sector, const std::string& stored) {
  for (uint32_t i = 0; i < sec::kPasswordBytes; ++i) {
    uint8_t want = i < stored.size() ? static_cast<uint8_t>(stored[i]) : 0;
    if (sector[sec::kPassword + i] != want) return false;
  }
  return true;
}

}  // namespace

uint16_t SecurityWord(const ModuleModel& m, const ModuleRuntime& r) {
  namespace w = ata::identify;
  uint16_t word = w::kSecuritySupported | w::kSecurityEnhancedErase;
  if (SecurityEnabled(m)) word |= w::kSecurityEnabled;
  if (m.state == ModuleState::kLocked) word |= w::kSecurityLocked;
  if (m.securityFrozen) word |= w::kSecurityFrozen;
  if (CountExpired(r)) word |= w::kSecurityCountExpired;
  return word;
}

AtaAnswer SecurityErasePrepare(AtaContext& c) {
  return c.module.securityFrozen ? Aborted() : Done();
}

AtaAnswer SecurityEraseUnit(AtaContext& c) {
  ModuleModel& m = c.module;
  std::vector<uint8_t> sector;
  if (!c.TakeSectors(1, &sector)) return Aborted();
  AtaAnswer answer = Aborted();
  answer.bytesOut = ata::kSectorBytes;
  bool prepared = c.runtime.previousCommand == ata::kSecurityErasePrepare;
  if (!prepared || m.securityFrozen || CountExpired(c.runtime)) return answer;
  uint16_t control = le::Get16(sector, sec::kControl);
  bool master = (control & sec::kMaster) != 0;
  if (SecurityEnabled(m) && !PasswordMatches(sector, master ? m.masterPassword : m.userPassword)) {
    ++c.runtime.wrongPasswords;
    return answer;
  }
  EraseRecord record;
  record.enhanced = (control & sec::kEnhanced) != 0;
  record.masterPassword = master;
  record.password = PasswordOf(sector);
  record.mediaEraseMode = ConfigImage(m)[ata::config_image::kMediaEraseMode] & 0x03;
  c.runtime.erases.push_back(record);
  ++m.eraseCount;
  m.dataErased = true;
  m.userPassword.clear();
  if (m.state == ModuleState::kLocked) m.state = ModuleState::kPresent;
  answer.ok = true;
  return answer;
}

AtaAnswer SecuritySetPassword(AtaContext& c) {
  ModuleModel& m = c.module;
  std::vector<uint8_t> sector;
  if (!c.TakeSectors(1, &sector) || m.securityFrozen) return Aborted();
  std::string password = PasswordOf(sector);
  if ((le::Get16(sector, sec::kControl) & sec::kMaster) != 0) {
    m.masterPassword = password;
  } else {
    if (password.empty()) return Aborted();  // an empty user password would leave security off
    m.userPassword = password;
  }
  AtaAnswer answer;
  answer.bytesOut = ata::kSectorBytes;
  return answer;
}

}  // namespace emu
