// IDENTIFY DEVICE: the module's 256 words as a SATA flash module reports
// them. Strings go two characters to a word, the first in the high byte;
// words 100-103 carry the current maximum (after SET MAX ADDRESS), words
// 60-61 the same cut to 28 bits; word 128 the security state; word 255 the
// checksum signature.
#include <algorithm>
#include <string>

#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"

namespace emu {
namespace {

namespace w = ata::identify;

struct Words {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(ata::kSectorBytes, 0);
  void Put(uint32_t word, uint16_t value) {
    bytes[2 * word] = static_cast<uint8_t>(value);
    bytes[2 * word + 1] = static_cast<uint8_t>(value >> 8);
  }
  // Blank-padded text, the first character of each pair in the word's high byte.
  void PutText(uint32_t word, uint32_t words, const std::string& text) {
    for (uint32_t i = 0; i < words; ++i) {
      auto at = [&](size_t k) -> uint8_t { return k < text.size() ? static_cast<uint8_t>(text[k]) : ' '; };
      Put(word + i, static_cast<uint16_t>(at(2 * i) << 8 | at(2 * i + 1)));
    }
  }
  void PutLong(uint32_t word, uint32_t words, uint64_t value) {  // least significant word first
    for (uint32_t i = 0; i < words; ++i) Put(word + i, static_cast<uint16_t>(value >> (16 * i)));
  }
};

}  // namespace

std::vector<uint8_t> IdentifyData(const ModuleModel& m, const ModuleRuntime& runtime) {
  Words id;
  id.Put(w::kGeneral, 0x0040);                 // fixed, not removable
  id.Put(w::kSpecific, 0xC837);
  id.PutText(w::kSerial, w::kSerialWords, m.serial);
  id.PutText(w::kFirmware, w::kFirmwareWords, m.firmware);
  id.PutText(w::kModel, w::kModelWords, m.model);
  id.Put(w::kMaxMultiple, 0x8010);
  id.Put(w::kCapabilities, 0x2F00);            // LBA, DMA, IORDY
  id.Put(w::kValidity, 0x0007);
  id.Put(w::kMultipleSetting, 0x0110);
  id.PutLong(w::kSectors28, 2, std::min<uint64_t>(m.maxSectors, 0x0FFFFFFF));
  id.Put(w::kMultiwordDma, 0x0007);
  id.Put(w::kPioModes, 0x0003);
  for (uint32_t i = 0; i < 4; ++i) id.Put(w::kCycleTimes + i, 0x0078);
  id.Put(w::kQueueDepth, 0x001F);              // 32 commands
  id.Put(w::kSataCapabilities, 0x010E);        // 1.5, 3.0 and 6.0 Gbps, NCQ
  id.Put(w::kSataFeatures, 0x0048);
  id.Put(w::kSataEnabled, 0x0040);
  id.Put(w::kMajorVersion, 0x01F0);            // ATA8-ACS and ACS-2
  id.Put(w::kMinorVersion, 0x0110);
  // 82: SMART, security, write cache, look-ahead; 83: SET MAX, 48-bit,
  // flush; 84: SMART error log and self-test, general purpose logging.
  // 83 and 86 bit 3: advanced power management supported and enabled.
  const uint16_t sets[3] = {0x746B, 0x7D01, 0x6163};
  constexpr uint16_t kApm = 0x0008;
  for (uint32_t i = 0; i < 3; ++i) {
    id.Put(w::kCommandSets + i, static_cast<uint16_t>(sets[i] | (i == 1 && m.apmSupported ? kApm : 0)));
    id.Put(w::kCommandSets + 3 + i, static_cast<uint16_t>(sets[i] | (i == 1 && m.apmEnabled ? kApm : 0)));
  }
  id.Put(w::kApmLevel, static_cast<uint16_t>(m.apmLevel));
  id.Put(w::kUltraDma, 0x407F);                // UDMA 0-6, mode 6 selected
  id.Put(w::kEraseTime, 0x0002);               // 4 minutes
  id.Put(w::kEnhancedEraseTime, 0x0002);
  id.Put(w::kMasterPasswordId, 0xFFFE);
  id.PutLong(w::kSectors48, 4, m.maxSectors);
  id.Put(w::kSectorSize, m.blockLength == 4096 ? 0x5000 : 0x4000);
  id.PutLong(w::kLogicalSectorWords, 2, m.blockLength / 2);
  for (uint32_t i = 0; i < 4; ++i) id.Put(w::kWorldWideName + i, static_cast<uint16_t>(m.wwn >> (48 - 16 * i)));
  id.Put(w::kCommandSets2, 0x4014);            // DOWNLOAD MICROCODE with offsets, write uncorrectable
  id.Put(w::kCommandSets2 + 1, 0x4014);
  id.Put(w::kSecurity, SecurityWord(m, runtime));
  id.Put(w::kFormFactor, 0x0003);              // 2.5 inch
  id.Put(w::kDataSetManagement, 0x0001);       // TRIM
  id.Put(w::kSctTransport, 0x003D);            // SCT, error recovery, features, data tables
  id.Put(w::kRotationRate, 0x0001);            // non-rotating
  uint8_t sum = w::kChecksumSignature;
  for (uint32_t i = 0; i < ata::kSectorBytes - 2; ++i) sum = static_cast<uint8_t>(sum + id.bytes[i]);
  id.Put(w::kIntegrity, static_cast<uint16_t>(static_cast<uint8_t>(-sum) << 8 | w::kChecksumSignature));
  return id.bytes;
}

AtaAnswer IdentifyDevice(AtaContext& c) { return DataIn(IdentifyData(c.module, c.runtime)); }

}  // namespace emu
