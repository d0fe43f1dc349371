// The ATA command set of a flash module, as the SATA passthrough hands a
// register FIS to it. One table in ata_commands.cpp holds the commands a
// module answers (their code lives in the ata_*.cpp, smart_*.cpp and
// sct_*.cpp files); a command without an entry is aborted.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/host/host_model.h"
#include "emu/modules/module_runtime.h"

namespace emu {

struct AtaRequest {
  AdapterModel& adapter;
  ModuleModel& module;
  ModuleRuntime& runtime;
  const std::vector<uint8_t>& fis;      // the 20-byte Register Host-to-Device FIS
  uint16_t flags = 0;                   // the pass-through flags (direction, protocol)
  uint32_t dataLength = 0;              // the frame's data length
  const std::vector<uint8_t>& dataOut;  // what the host sent
  uint32_t dataInRoom = 0;              // what the host can take
};

struct AtaResult {
  uint16_t iocStatus = 0;          // the controller's answer (0 when the module ran the command)
  std::vector<uint8_t> statusFis;  // the 20-byte Device-to-Host FIS
  std::vector<uint8_t> dataIn;
  uint32_t transferCount = 0;
};

// ATA status and error bits.
inline constexpr uint8_t kAtaStatusReady = 0x40;
inline constexpr uint8_t kAtaStatusSeek = 0x10;
inline constexpr uint8_t kAtaStatusError = 0x01;
inline constexpr uint8_t kAtaErrorAbort = 0x04;

// A Device-to-Host register FIS (type 0x34) with this status and error.
std::vector<uint8_t> StatusFis(uint8_t status, uint8_t error);
// Runs the command of the FIS on the module. The controller first checks
// that the frame's direction flags allow the command's data phase (else
// IOCStatus 0x0007, and the module sees nothing); the module gets at most
// the frame's data length of the host's data, and what it returns beyond
// the data length or the host's room is cut and answered 0x0044 (overrun).
AtaResult ExecuteAta(const AtaRequest& request);

}  // namespace emu
