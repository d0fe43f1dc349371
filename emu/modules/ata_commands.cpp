// The module's ATA commands, by command code (FIS byte 2), and what every
// command goes through: a refusing module aborts all of them, a locked one
// those that change the medium or its firmware; the controller checks the
// direction flags against the command's data phase before the module sees
// it; the module's answer becomes the status FIS (0x50, or 0x51 with error
// 0x04 aborted) and the data moved. Every command the module ran is
// recorded in its run state. A command without a row is aborted as a
// device that does not support it would.
#include "emu/modules/ata_commands.h"

#include <algorithm>

#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"
#include "emu/controller/handlers.h"

namespace emu {
namespace {

constexpr uint16_t kFlagRead = 0x0001;
constexpr uint16_t kFlagWrite = 0x0002;
constexpr uint16_t kFlagUnspecified = 0x0004;

DataPhase NoData(const AtaFis&) { return DataPhase::kNone; }
DataPhase In(const AtaFis&) { return DataPhase::kIn; }
DataPhase Out(const AtaFis&) { return DataPhase::kOut; }

struct AtaCommandRow {
  uint8_t code;
  DataPhase (*phase)(const AtaFis&);
  bool refusedWhenLocked;  // the command changes the medium, its size or its firmware
  AtaAnswer (*run)(AtaContext&);
};

// The commands the modules answer: one row each.
constexpr AtaCommandRow kCommands[] = {
    {ata::kIdentifyDevice, In, false, IdentifyDevice},
    {ata::kReadNativeMaxExt, NoData, false, ReadNativeMaxAddress},
    {ata::kSetMaxExt, NoData, true, SetMaxAddress},
    {ata::kDeviceReset, NoData, false, DeviceReset},
    {ata::kSecurityErasePrepare, NoData, false, SecurityErasePrepare},
    {ata::kSecurityEraseUnit, Out, false, SecurityEraseUnit},
    {ata::kSecuritySetPassword, Out, true, SecuritySetPassword},
    {ata::kDownloadMicrocode, Out, true, DownloadMicrocode},
    {ata::kSmart, SmartDataPhase, false, Smart},
    {ata::kReadLogExt, In, false, ReadLogExt},
    {ata::kWriteLogExt, Out, false, WriteLogExt},
};

const AtaCommandRow* FindCommand(uint8_t code) {
  for (const AtaCommandRow& row : kCommands) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

bool DirectionAllows(uint16_t flags, DataPhase phase) {
  if (phase == DataPhase::kNone || (flags & kFlagUnspecified) != 0) return true;
  return (flags & (phase == DataPhase::kIn ? kFlagRead : kFlagWrite)) != 0;
}

std::vector<uint8_t> AnswerFis(const AtaAnswer& answer) {
  std::vector<uint8_t> fis = answer.ok ? StatusFis(kAtaStatusReady | kAtaStatusSeek, 0)
                                       : StatusFis(kAtaStatusReady | kAtaStatusSeek | kAtaStatusError,
                                                   kAtaErrorAbort);
  if (answer.hasLba) {
    for (uint32_t i = 0; i < 3; ++i) {
      fis[ata::fis::kLba0 + i] = static_cast<uint8_t>(answer.lba >> (8 * i));
      fis[ata::fis::kLba3 + i] = static_cast<uint8_t>(answer.lba >> (8 * (i + 3)));
    }
    fis[ata::fis::kDevice] = ata::fis::kDeviceLba;
  }
  if (answer.hasCount) {
    fis[ata::fis::kCount] = static_cast<uint8_t>(answer.count);
    fis[ata::fis::kCount + 1] = static_cast<uint8_t>(answer.count >> 8);
  }
  return fis;
}

}  // namespace

std::vector<uint8_t> StatusFis(uint8_t status, uint8_t error) {
  std::vector<uint8_t> fis(ata::fis::kBytes, 0);
  fis[ata::fis::kType] = ata::fis::kDeviceToHost;
  fis[ata::fis::kFlags] = ata::fis::kInterruptBit;
  fis[ata::fis::kStatus] = status;
  fis[ata::fis::kError] = error;
  return fis;
}

AtaFis DecodeFis(const std::vector<uint8_t>& bytes) {
  auto at = [&](uint32_t i) -> uint64_t { return i < bytes.size() ? bytes[i] : 0; };
  AtaFis fis;
  fis.command = static_cast<uint8_t>(at(ata::fis::kCommand));
  fis.features = static_cast<uint16_t>(at(ata::fis::kFeatures) | at(ata::fis::kFeaturesHigh) << 8);
  for (uint32_t i = 0; i < 3; ++i) {
    fis.lba |= at(ata::fis::kLba0 + i) << (8 * i);
    fis.lba |= at(ata::fis::kLba3 + i) << (8 * (i + 3));
  }
  fis.device = static_cast<uint8_t>(at(ata::fis::kDevice));
  fis.count = static_cast<uint16_t>(at(ata::fis::kCount) | at(ata::fis::kCount + 1) << 8);
  return fis;
}

AtaAnswer Aborted() {
  AtaAnswer answer;
  answer.ok = false;
  return answer;
}

AtaAnswer Done() { return AtaAnswer{}; }

AtaAnswer DataIn(std::vector<uint8_t> data) {
  AtaAnswer answer;
  answer.dataIn = std::move(data);
  return answer;
}

bool AtaContext::TakeSectors(uint32_t sectors, std::vector<uint8_t>* out) const {
  size_t bytes = static_cast<size_t>(sectors) * ata::kSectorBytes;
  if (dataOut.size() < bytes) return false;
  out->assign(dataOut.begin(), dataOut.begin() + static_cast<std::ptrdiff_t>(bytes));
  return true;
}

AtaResult ExecuteAta(const AtaRequest& request) {
  AtaResult result;
  AtaContext context{request.adapter, request.module, request.runtime, DecodeFis(request.fis), {}};
  const AtaFis& fis = context.fis;
  const AtaCommandRow* row = FindCommand(fis.command);
  DataPhase phase = row != nullptr ? row->phase(fis) : DataPhase::kNone;
  if (!DirectionAllows(request.flags, phase)) {
    result.iocStatus = kIocInvalidField;
    return result;
  }
  if (phase == DataPhase::kOut) {
    size_t given = std::min<size_t>(request.dataLength, request.dataOut.size());
    context.dataOut.assign(request.dataOut.begin(), request.dataOut.begin() + static_cast<std::ptrdiff_t>(given));
  }

  ModuleState state = request.module.state;
  AtaAnswer answer;
  if (row == nullptr || state == ModuleState::kRefusing ||
      (state == ModuleState::kLocked && row->refusedWhenLocked)) {
    answer = Aborted();
  } else {
    answer = row->run(context);
  }

  AtaCommandRecord record;
  record.command = fis.command;
  record.features = fis.features;
  record.lba = fis.lba;
  record.device = fis.device;
  record.count = fis.count;
  record.flags = request.flags;
  record.dataLength = request.dataLength;
  record.bytesIn = static_cast<uint32_t>(answer.dataIn.size());
  record.bytesOut = answer.bytesOut;

  result.statusFis = AnswerFis(answer);
  record.status = result.statusFis[ata::fis::kStatus];
  record.error = result.statusFis[ata::fis::kError];
  size_t room = std::min<size_t>(request.dataLength, request.dataInRoom);
  if (answer.dataIn.size() > room) {
    answer.dataIn.resize(room);
    result.iocStatus = kIocDataOverrun;
  }
  result.transferCount = static_cast<uint32_t>(phase == DataPhase::kOut ? answer.bytesOut : answer.dataIn.size());
  result.dataIn = std::move(answer.dataIn);
  request.runtime.commands.push_back(record);
  if (fis.command != ata::kDeviceReset) {
    request.runtime.previousCommand = fis.command;
    request.runtime.previousFeatures = fis.features;
  }
  return result;
}

}  // namespace emu
