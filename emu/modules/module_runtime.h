// What a flash module goes through in one run, beside the model it keeps:
// the ATA commands and SCT actions it received, its erases, firmware
// downloads and unlock attempts (for tests to check), and its session state
// (the challenge handed out, the SCT data phase that is due, the command
// before this one), which a DEVICE RESET clears. None of it is saved in the
// card file; what a module keeps across runs is in ModuleModel.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace emu {

// One ATA command as the module decoded it from the register FIS, with its answer.
struct AtaCommandRecord {
  uint8_t command = 0;       // FIS byte 2
  uint16_t features = 0;     // byte 3, byte 11 as bits 8-15
  uint64_t lba = 0;          // bytes 4-6 and 8-10
  uint8_t device = 0;        // byte 7
  uint16_t count = 0;        // bytes 12-13
  uint16_t flags = 0;        // the pass-through flags of the frame
  uint32_t dataLength = 0;   // the frame's data length
  uint32_t bytesIn = 0;      // data the module returned (before the controller cut it)
  uint32_t bytesOut = 0;     // data the module took
  uint8_t status = 0;        // ATA status and error answered
  uint8_t error = 0;
};

// One SCT command sector written to log 0xE0.
struct SctActionRecord {
  uint16_t action = 0;
  uint16_t function = 0;
  uint16_t extendedStatus = 0;  // what the SCT status reported for it (0 success)
  std::vector<uint8_t> sector;  // the 512 bytes as written
};

// One SECURITY ERASE UNIT the module carried out.
struct EraseRecord {
  bool enhanced = false;        // control word bit 1
  bool masterPassword = false;  // control word bit 0: the master password was given
  std::string password;         // the password bytes up to the first zero
  uint8_t mediaEraseMode = 0;   // the low two bits of configuration image byte 1698
};

// One firmware image the module stored: by DOWNLOAD MICROCODE (a SATA
// module, also when the controller translated a WRITE BUFFER for it), or by
// SCSI WRITE BUFFER (a module that speaks SAS).
struct MicrocodeDownload {
  uint8_t mode = 0;             // DOWNLOAD MICROCODE's subcommand (0x01, 0x07) or WRITE BUFFER's mode (0x05)
  bool writeBuffer = false;     // it came as WRITE BUFFER to a SAS module
  std::vector<uint8_t> image;
  std::string revision;         // the revision tag found in it ("" when none)
};

// One SCSI FORMAT UNIT the module took.
struct ScsiFormatRecord {
  uint8_t cdbFlags = 0;                // CDB byte 1 (FMTDATA 0x10, LONGLIST 0x20, ...)
  std::vector<uint8_t> parameterList;  // with FMTDATA: the header and what followed it
};

// The SCT data phase a command sector announced, due through log 0xE1.
struct SctDataPhase {
  enum class Kind { kNone, kRead, kWrite } kind = Kind::kNone;
  uint16_t action = 0;
  uint16_t function = 0;
  uint32_t bytes = 0;           // what the host must move
  std::vector<uint8_t> data;    // kRead: what it reads
  // A streamed read (a panic dump) is taken in pieces: each read takes the
  // next sectors (zeros past the end of the data) until the data is all
  // read. A read of a panic dump fails while the module's panic-read-fails
  // lasts, and the same piece is due again.
  bool streamed = false;
  bool panicDump = false;
  uint32_t taken = 0;           // streamed: bytes read so far
};

struct ModuleRuntime {
  // --- what the module received and did ---
  std::vector<AtaCommandRecord> commands;
  std::vector<SctActionRecord> sctActions;
  std::vector<EraseRecord> erases;
  std::vector<MicrocodeDownload> downloads;
  std::vector<ScsiFormatRecord> formats;
  uint32_t smartReads = 0;          // SMART READ DATA answered, forced ones included
  uint32_t forcedSmartReads = 0;    // with device bit 7 (read from flash)
  uint32_t statusReads = 0;         // SCT status reads (log 0xE0)
  uint32_t busyStatusReads = 0;     // of them answered "busy"
  uint32_t challengesIssued = 0;    // diagnostic blocks handed out
  uint32_t unlocks = 0;             // responses accepted
  uint32_t failedUnlocks = 0;       // responses refused (wrong, or without a challenge)
  uint32_t configReads = 0;         // configuration image reads and writes
  uint32_t configWrites = 0;
  uint32_t formatSettingsWrites = 0;
  uint32_t rawPageReads = 0;        // raw flash pages read (0xC00C)
  uint32_t lastFormatValue = 0;     // the u32 of the last format settings command (bytes 62-65)
  std::vector<std::vector<uint8_t>> packedActions;  // 0xC003 sectors
  std::map<uint8_t, std::vector<uint8_t>> hostLogs; // host vendor logs 0x80-0x9F written

  // --- the session (a DEVICE RESET starts it anew) ---
  uint8_t unlockLevel = 0;          // 0: not unlocked
  std::vector<uint8_t> challenge;   // the 256 bytes of the last diagnostic block
  bool challengeValid = false;      // not yet used by an unlock attempt
  SctDataPhase pending;
  uint16_t lastSctAction = 0;       // what the SCT status reports
  uint16_t lastSctFunction = 0;
  uint16_t lastSctStatus = 0;
  uint8_t previousCommand = 0;      // the command before this one (SET MAX and ERASE UNIT need
  uint16_t previousFeatures = 0;    // theirs right before them)
  uint32_t wrongPasswords = 0;      // security passwords refused; five expire the count
};

}  // namespace emu
