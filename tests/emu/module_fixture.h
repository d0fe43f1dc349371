// A fixture for the module command-set tests: the default card with its
// node open, and short ways to send ATA commands, SMART logs and SCT
// exchanges to a module. Reply offsets are written out: IOCStatus u16 at
// 14, the status FIS at 20 (its status at 22, error at 23, LBA at 24-26
// and 28-30, count at 32), the transfer count u32 at 44.
#pragma once

#include "card_fixture.h"

namespace rawtest {

// DevHandles of the default card's modules.
constexpr uint16_t kSlot4 = 0x09, kSlot5 = 0x0A, kSlot6 = 0x0B, kSlot7 = 0x0C;

inline bool Succeeded(const Sent& s) { return s.status() == 0 && s.reply.at(22) == 0x50 && s.reply.at(23) == 0; }
inline bool Aborted(const Sent& s) { return s.status() == 0 && s.reply.at(22) == 0x51 && s.reply.at(23) == 0x04; }
inline uint64_t ReplyLba(const Sent& s) {
  uint64_t lba = 0;
  for (int i = 0; i < 3; ++i) {
    lba |= static_cast<uint64_t>(s.reply.at(24 + i)) << (8 * i);
    lba |= static_cast<uint64_t>(s.reply.at(28 + i)) << (8 * (i + 3));
  }
  return lba;
}

// A 512-byte SCT command sector: action u16 at 0, function u16 at 2.
inline std::vector<uint8_t> SctSector(uint16_t action, uint16_t function) {
  std::vector<uint8_t> sector(512, 0);
  Put16(sector, 0, action);
  Put16(sector, 2, function);
  return sector;
}

class ModuleFixture : public CardFixture {
 protected:
  Sent Run(uint16_t handle, const Fis& f, uint32_t dataIn = 0, std::vector<uint8_t> dataOut = {}) {
    return Send(Ata(handle, f, dataIn, std::move(dataOut)));
  }
  Sent Identify(uint16_t handle) { return Run(handle, Fis{0xEC, 0, 0, 0x10, 1}, 512); }
  // IDENTIFY word w.
  uint16_t Word(uint16_t handle, size_t w) { return Get16(Identify(handle).dataIn, 2 * w); }
  Sent ReadLog(uint16_t handle, uint8_t log, uint8_t sectors) {
    return Run(handle, SmartFis(0xD5, log, sectors), 512u * sectors);
  }
  Sent WriteLog(uint16_t handle, uint8_t log, std::vector<uint8_t> data) {
    uint16_t sectors = static_cast<uint16_t>(data.size() / 512);
    return Run(handle, SmartFis(0xD6, log, sectors), 0, std::move(data));
  }
  // READ LOG EXT: log address in LBA low, page in LBA mid and FIS byte 9.
  Sent ReadLogExt(uint16_t handle, uint8_t log, uint16_t page, uint16_t sectors) {
    uint64_t lba = log | static_cast<uint64_t>(page & 0xFF) << 8 | static_cast<uint64_t>(page >> 8) << 32;
    return Run(handle, Fis{0x2F, 0, lba, 0, sectors}, 512u * sectors);
  }
  Sent SctCommand(uint16_t handle, const std::vector<uint8_t>& sector) { return WriteLog(handle, 0xE0, sector); }
  std::vector<uint8_t> SctStatus(uint16_t handle) { return ReadLog(handle, 0xE0, 1).dataIn; }
  Sent SctRead(uint16_t handle, uint8_t sectors) { return ReadLog(handle, 0xE1, sectors); }
  Sent SctWrite(uint16_t handle, std::vector<uint8_t> data) { return WriteLog(handle, 0xE1, std::move(data)); }
  // Diagnostic information (0xC000): the 512-byte block, empty on failure.
  std::vector<uint8_t> DiagInfo(uint16_t handle) {
    if (!Succeeded(SctCommand(handle, SctSector(0xC000, 0)))) return {};
    Sent data = SctRead(handle, 1);
    return Succeeded(data) ? data.dataIn : std::vector<uint8_t>{};
  }
};

}  // namespace rawtest
