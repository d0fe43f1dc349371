#include "emu/modules/module_images.h"

#include <algorithm>

#include "emu/modules/ata_layouts.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

constexpr char kImageTag[] = "CDU1";
constexpr uint32_t kMainCustomerId = 148;
constexpr uint32_t kSubCustomerId = 2;
constexpr uint8_t kStandardErase = 1;

uint32_t Sectors32(uint64_t sectors) { return sectors > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sectors); }

// splitmix64: a small, well-mixed generator for reproducible noise.
uint64_t Mix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

std::vector<uint8_t> DefaultConfigImage(const ModuleModel& m) {
  namespace c = ata::config_image;
  std::vector<uint8_t> image(c::kBytes, 0);
  le::PutText(&image, c::kSignature, 4, kImageTag);
  le::Put8(&image, c::kModelType, static_cast<uint8_t>(m.modelType));
  le::PutText(&image, c::kConfigId, 4, m.configId);
  le::Put32(&image, c::kMainCustomerId, kMainCustomerId);
  le::Put32(&image, c::kSubCustomerId, kSubCustomerId);
  le::Put8(&image, c::kMediaEraseMode, kStandardErase);
  le::Put16(&image, c::kDlcControl, 1);
  le::Put16(&image, c::kSectorSize, static_cast<uint16_t>(m.blockLength));
  le::Put8(&image, c::kMaxLbaFlagA, 0);
  le::Put8(&image, c::kMaxLbaFlagB, 1);
  le::Put32(&image, c::kMaxLbaValue, Sectors32(m.nativeSectors));
  return image;
}

std::vector<uint8_t> ConfigImage(const ModuleModel& m) {
  return m.configImage.size() == ata::config_image::kBytes ? m.configImage : DefaultConfigImage(m);
}

void WriteConfigImage(ModuleModel& m, const std::vector<uint8_t>& bytes) {
  namespace c = ata::config_image;
  std::vector<uint8_t> image = ConfigImage(m);
  std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), c::kWriteBytes), image.begin() + c::kWritable);
  m.configImage = image;
  uint32_t sectors = le::Get32(image, c::kMaxLbaValue);
  if (le::Get8(image, c::kMaxLbaFlagB) == 1 && sectors != 0) {
    m.nativeSectors = sectors;
    m.maxSectors = std::min(m.maxSectors, m.nativeSectors);
  }
}

std::vector<uint8_t> DefaultFormatSettings(const ModuleModel& m) {
  namespace f = ata::format_settings;
  std::vector<uint8_t> record(f::kBytes, 0);
  le::Put16(&record, f::kSectorSize, static_cast<uint16_t>(m.blockLength));
  le::Put32(&record, f::kMaxLbaValue, Sectors32(m.nativeSectors));
  return record;
}

std::vector<uint8_t> FormatSettings(const ModuleModel& m) {
  return m.formatSettings.size() == ata::format_settings::kBytes ? m.formatSettings : DefaultFormatSettings(m);
}

void WriteFormatSettings(ModuleModel& m, const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> record = FormatSettings(m);
  std::copy_n(bytes.begin(), std::min(bytes.size(), record.size()), record.begin());
  m.formatSettings = record;
}

std::vector<uint8_t> UnlockChallenge(const ModuleModel& m, uint32_t counter) {
  uint64_t state = m.wwn ^ (static_cast<uint64_t>(m.slot) << 56) ^ (static_cast<uint64_t>(counter) * 0xD1B54A32D192ED03ull);
  std::vector<uint8_t> challenge(ata::diag_info::kChallengeBytes);
  for (size_t at = 0; at < challenge.size(); at += 8) {
    uint64_t word = Mix(state);
    for (size_t i = 0; i < 8; ++i) challenge[at + i] = static_cast<uint8_t>(word >> (8 * i));
  }
  return challenge;
}

std::vector<uint8_t> DiagInfoBlock(const ModuleModel& m, const std::vector<uint8_t>& challenge) {
  namespace d = ata::diag_info;
  std::vector<uint8_t> block(d::kBytes, 0);
  le::Put64(&block, d::kUniqueId, m.wwn);
  le::Put64(&block, d::kCapacity, m.nativeSectors);
  le::PutText(&block, d::kConfigId, 4, m.configId);
  le::Put32(&block, d::kModelType, static_cast<uint8_t>(m.modelType));
  le::PutText(&block, d::kSerial, 20, m.serial);
  le::PutText(&block, d::kFirmware, 8, m.firmware);
  le::Put32(&block, d::kEraseCount, m.eraseCount);
  std::copy_n(challenge.begin(), std::min<size_t>(challenge.size(), d::kChallengeBytes),
              block.begin() + d::kChallenge);
  return block;
}

std::vector<uint8_t> DiagIdentifyData(const ModuleModel& m) {
  namespace d = ata::diag_identify;
  std::vector<uint8_t> data(d::kBytes, 0);
  le::PutText(&data, d::kModel, 40, m.model);
  le::PutText(&data, d::kSerial, 20, m.serial);
  le::Put32(&data, d::kBlockLength, m.blockLength);
  le::Put16(&data, d::kPageBytes, d::kFlashPageBytes);
  le::Put16(&data, d::kPagesPerBlock, d::kFlashPagesPerBlock);
  le::Put32(&data, d::kNativeSectors, Sectors32(m.nativeSectors));
  le::Put32(&data, d::kMaxSectors, Sectors32(m.maxSectors));
  return data;
}

}  // namespace emu
