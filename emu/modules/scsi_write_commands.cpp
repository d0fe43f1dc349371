// The SCSI commands that take data, as the modules answer them. A module
// that speaks SAS takes WRITE BUFFER (mode 0x05, download microcode and
// save: buffer ID 0, offset 0, the whole image in one command) and keeps
// the image as DOWNLOAD MICROCODE would, revision tag included; FORMAT
// UNIT is taken and recorded, with its parameter list when FMTDATA says one
// follows. A SATA module is behind the controller's SCSI/ATA translation,
// which turns WRITE BUFFER mode 0x05 into one DOWNLOAD MICROCODE (subcommand
// 0x07, the length a whole number of sectors) and answers an aborted one
// with ABORTED COMMAND, and takes FORMAT UNIT without touching the medium.
// A volume is the controller's own and takes neither (invalid opcode).
#include <algorithm>

#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"
#include "emu/modules/scsi_layouts.h"
#include "emu/modules/scsi_target.h"

namespace emu {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint16_t kPassthroughWrite = 0x0002;  // the translation's data phase: out
constexpr uint32_t kMaxMicrocodeSectors = 0xFFFF;  // count and LBA low of one DOWNLOAD MICROCODE

uint32_t GetBe(const Bytes& v, size_t at, int width) {
  uint32_t value = 0;
  for (int i = 0; i < width; ++i) value = (value << 8) | (at + i < v.size() ? v[at + i] : 0);
  return value;
}

ScsiOutcome Good(uint32_t bytesOut) {
  ScsiOutcome outcome;
  outcome.bytesOut = bytesOut;
  return outcome;
}

ScsiOutcome Check(const SenseCode& code) {
  ScsiOutcome outcome;
  outcome.status = kScsiCheckCondition;
  outcome.sense = code;
  return outcome;
}

// The translation: one DOWNLOAD MICROCODE of the whole image.
ScsiOutcome TranslatedDownload(ScsiTarget& t, const Bytes& image) {
  uint32_t sectors = static_cast<uint32_t>(image.size() / ata::kSectorBytes);
  if (image.size() % ata::kSectorBytes != 0 || sectors > kMaxMicrocodeSectors) {
    return Check(kInvalidFieldInCdb);
  }
  Bytes fis(ata::fis::kBytes, 0);
  fis[ata::fis::kType] = ata::fis::kHostToDevice;
  fis[ata::fis::kFlags] = ata::fis::kCommandBit;
  fis[ata::fis::kCommand] = ata::kDownloadMicrocode;
  fis[ata::fis::kFeatures] = 0x07;  // download and save
  fis[ata::fis::kCount] = static_cast<uint8_t>(sectors);
  fis[ata::fis::kLba0] = static_cast<uint8_t>(sectors >> 8);
  AtaRequest request{*t.adapter, *t.module, *t.runtime, fis, kPassthroughWrite,
                     static_cast<uint32_t>(image.size()), image, 0};
  AtaResult result = ExecuteAta(request);
  bool failed = result.iocStatus != 0 || result.statusFis.size() <= ata::fis::kStatus ||
                (result.statusFis[ata::fis::kStatus] & kAtaStatusError) != 0;
  return failed ? Check(kAbortedCommand) : Good(static_cast<uint32_t>(image.size()));
}

}  // namespace

ScsiOutcome WriteBuffer(ScsiTarget& t, const Bytes& cdb, const Bytes& dataOut) {
  namespace w = scsi::write_buffer;
  if (t.module == nullptr) return Check(kInvalidOpcode);
  uint8_t mode = cdb[w::kMode] & w::kModeMask;
  uint32_t length = GetBe(cdb, w::kLength, 3);
  if (mode != w::kDownloadAndSave || cdb[w::kBufferId] != 0 || GetBe(cdb, w::kOffset, 3) != 0 || length == 0) {
    return Check(kInvalidFieldInCdb);
  }
  if (dataOut.size() < length) return Check(kParameterListLengthError);
  Bytes image(dataOut.begin(), dataOut.begin() + length);
  if (!ModuleIsSas(*t.module)) return TranslatedDownload(t, image);
  if (TakeRefusal(&t.module->downloadRefusals)) return Check(kAbortedCommand);
  MicrocodeDownload download;
  download.mode = mode;
  download.writeBuffer = true;
  download.image = std::move(image);
  KeepFirmwareImage(*t.module, *t.runtime, std::move(download));
  return Good(length);
}

ScsiOutcome FormatUnit(ScsiTarget& t, const Bytes& cdb, const Bytes& dataOut) {
  namespace f = scsi::format_unit;
  if (t.module == nullptr) return Check(kInvalidOpcode);
  ScsiFormatRecord record;
  record.cdbFlags = cdb[f::kFlags];
  if ((record.cdbFlags & f::kFmtData) != 0) {
    bool longList = (record.cdbFlags & f::kLongList) != 0;
    uint32_t header = longList ? f::kLongHeaderBytes : f::kShortHeaderBytes;
    if (dataOut.size() < header) return Check(kParameterListLengthError);
    uint64_t defects =
        longList ? GetBe(dataOut, f::kLongDefectLength, 4) : GetBe(dataOut, f::kShortDefectLength, 2);
    uint64_t list = header + defects;
    if (dataOut.size() < list) return Check(kParameterListLengthError);
    record.parameterList.assign(dataOut.begin(), dataOut.begin() + static_cast<std::ptrdiff_t>(list));
  }
  uint32_t taken = static_cast<uint32_t>(record.parameterList.size());
  t.runtime->formats.push_back(std::move(record));
  return Good(taken);
}

}  // namespace emu
