// The SCSI commands a target answers: a bare module (through SCSI IO), a
// RAID member or hot spare (through the RAID SCSI IO passthrough) or a
// volume. The transport (emu/controller/scsi_io.cpp) decodes the frame; this part runs
// the CDB against the model and says what status, data and sense result.
#pragma once

#include <cstdint>
#include <vector>

#include "emu/host/host_model.h"
#include "emu/modules/module_runtime.h"

namespace emu {

struct ScsiTarget {
  AdapterModel* adapter = nullptr;
  ModuleModel* module = nullptr;   // set for a module ...
  ModuleRuntime* runtime = nullptr;  // ... with what it does in the run
  VolumeModel* volume = nullptr;   // set for a volume
  bool lunZero = true;             // the command addresses LUN 0, the only one
  TargetSense& sense() { return module != nullptr ? module->sense : volume->sense; }
};

inline constexpr uint8_t kScsiGood = 0x00;
inline constexpr uint8_t kScsiCheckCondition = 0x02;

struct ScsiOutcome {
  uint8_t status = kScsiGood;
  std::vector<uint8_t> dataIn;  // what the command returns, before the transfer length cuts it
  uint32_t bytesOut = 0;        // what it took of the data-out
  SenseCode sense;              // with CHECK CONDITION, or with `withSense`
  bool withSense = false;       // sense data delivered although the status is GOOD
};

// Runs one CDB: an armed CHECK CONDITION first, then a pending UNIT
// ATTENTION (not for INQUIRY and REQUEST SENSE), then the command itself.
// Unknown opcodes and bad fields answer CHECK CONDITION, ILLEGAL REQUEST.
// `dataOut` is what the controller moved to the target (a write's data, at
// most the frame's data length).
ScsiOutcome ExecuteScsi(ScsiTarget& target, const std::vector<uint8_t>& cdb,
                        const std::vector<uint8_t>& dataOut);

// The commands that take data (emu/modules/scsi_write_commands.cpp).
ScsiOutcome WriteBuffer(ScsiTarget& target, const std::vector<uint8_t>& cdb,
                        const std::vector<uint8_t>& dataOut);
ScsiOutcome FormatUnit(ScsiTarget& target, const std::vector<uint8_t>& cdb,
                       const std::vector<uint8_t>& dataOut);

// Sense data in fixed (0x70, 18 bytes) or descriptor (0x72, 8 bytes) format.
std::vector<uint8_t> BuildSense(const SenseCode& code, bool descriptorFormat);

// Sense keys and codes the targets answer.
inline constexpr SenseCode kInvalidOpcode{0x05, 0x20, 0x00};
inline constexpr SenseCode kInvalidFieldInCdb{0x05, 0x24, 0x00};
inline constexpr SenseCode kLunNotSupported{0x05, 0x25, 0x00};
inline constexpr SenseCode kParameterListLengthError{0x05, 0x1A, 0x00};
inline constexpr SenseCode kInvalidFieldInParameterList{0x05, 0x26, 0x00};
inline constexpr SenseCode kAbortedCommand{0x0B, 0x00, 0x00};

}  // namespace emu
