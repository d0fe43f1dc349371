// The inside of a module's ATA command set: the decoded register FIS, what a
// command answers, and the commands of each group (identity and capacity,
// security, firmware, SMART and logs, SCT), which the table of
// ata_commands.cpp dispatches to.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/modules/ata_commands.h"

namespace emu {

// The register FIS host to device, decoded from its bytes.
struct AtaFis {
  uint8_t command = 0;
  uint16_t features = 0;  // byte 3, byte 11 as bits 8-15
  uint64_t lba = 0;       // bytes 4-6, 8-10
  uint8_t device = 0;
  uint16_t count = 0;     // bytes 12-13
  uint8_t Byte(uint32_t lbaByte) const { return static_cast<uint8_t>(lba >> (8 * lbaByte)); }
};
AtaFis DecodeFis(const std::vector<uint8_t>& fis);

// What the command does with data.
enum class DataPhase { kNone, kIn, kOut };

// What a command answers: success or an aborted command, the data it
// returns, the data it took, and the registers it reports back.
struct AtaAnswer {
  bool ok = true;
  std::vector<uint8_t> dataIn;
  uint32_t bytesOut = 0;
  bool hasLba = false;
  uint64_t lba = 0;
  bool hasCount = false;
  uint16_t count = 0;
};
AtaAnswer Aborted();
AtaAnswer Done();
// A module knob that refuses the next N commands of a kind (-1: every one):
// true when this one is refused, using one up.
inline bool TakeRefusal(int* refusals) {
  if (*refusals == 0) return false;
  if (*refusals > 0) --*refusals;
  return true;
}
AtaAnswer DataIn(std::vector<uint8_t> data);

// One command as the module runs it.
struct AtaContext {
  AdapterModel& adapter;
  ModuleModel& module;
  ModuleRuntime& runtime;
  AtaFis fis;
  std::vector<uint8_t> dataOut;  // the host's data as delivered: at most the frame's data length
  // The first `sectors` sectors of the host's data; false when it sent fewer.
  bool TakeSectors(uint32_t sectors, std::vector<uint8_t>* out) const;
};

// The session a DEVICE RESET (and nothing else) starts anew.
void ResetModuleSession(ModuleRuntime& runtime);

// Identity and capacity (ata_identify.cpp, ata_max_address.cpp).
std::vector<uint8_t> IdentifyData(const ModuleModel& module, const ModuleRuntime& runtime);
AtaAnswer IdentifyDevice(AtaContext& c);
AtaAnswer ReadNativeMaxAddress(AtaContext& c);
AtaAnswer SetMaxAddress(AtaContext& c);
AtaAnswer DeviceReset(AtaContext& c);

// Security (ata_security.cpp). The security word of IDENTIFY (word 128).
uint16_t SecurityWord(const ModuleModel& module, const ModuleRuntime& runtime);
AtaAnswer SecurityErasePrepare(AtaContext& c);
AtaAnswer SecurityEraseUnit(AtaContext& c);
AtaAnswer SecuritySetPassword(AtaContext& c);

// Firmware (ata_microcode.cpp). KeepFirmwareImage stores an image the
// module took (by whichever command), takes the revision it names and
// records the download.
AtaAnswer DownloadMicrocode(AtaContext& c);
void KeepFirmwareImage(ModuleModel& module, ModuleRuntime& runtime, MicrocodeDownload download);

// SMART (smart_commands.cpp) and the logs (ata_logs.cpp).
DataPhase SmartDataPhase(const AtaFis& fis);
AtaAnswer Smart(AtaContext& c);
AtaAnswer ReadLogExt(AtaContext& c);
AtaAnswer WriteLogExt(AtaContext& c);
// A log read or write by either command: `gpl` for READ/WRITE LOG EXT
// (which address pages), else SMART READ/WRITE LOG (from page 0).
AtaAnswer ReadLog(AtaContext& c, uint8_t address, uint32_t page, uint32_t count, bool gpl);
AtaAnswer WriteLog(AtaContext& c, uint8_t address, uint32_t page, uint32_t count, bool gpl);

// SCT over logs 0xE0 and 0xE1 (sct_transport.cpp).
AtaAnswer SctCommand(AtaContext& c, const std::vector<uint8_t>& sector);
std::vector<uint8_t> SctStatus(AtaContext& c);
AtaAnswer SctReadData(AtaContext& c, uint32_t count);
AtaAnswer SctWriteData(AtaContext& c, const std::vector<uint8_t>& data);

}  // namespace emu
