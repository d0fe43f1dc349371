// Controller firmware image files built byte by byte for the tests and the
// fuzzing seeds (plain C++, no test framework), with the offsets of the
// image format written out as numbers so that they hold the application's
// named layout against the format. The defaults fit the emulated default
// card: device 0x7E revision 2, subsystem 0x0500, its NVDATA version and
// identification.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw_test {

struct DeviceEntry {
  uint16_t deviceId;
  uint8_t lowestRevision;
  uint8_t highestRevision;
};

struct FwFields {
  uint32_t size = 0x2000;  // at least 0x1600; a multiple of 4
  uint32_t firmwareVersion = 0x0E010000;
  uint32_t packageVersion = 0x0E020500;  // 14.02.05.00; byte +0x1E, the OEM identifier, is 2
  uint16_t identifier0 = 0x1000;
  uint16_t identifier1 = 0x2214;
  std::string boardName = "Corvexium";
  std::vector<DeviceEntry> devices = {{0x7E, 0, 0x0F}};
  uint32_t nvdataVersion = 0x0E100003;
  uint16_t nvdataDeviceId = 0x7E;
  uint16_t nvdataSubsystemId = 0x0500;
  std::string vendor = "ULVANE  ";           // 8 bytes
  std::string product = "Corvexium       ";  // 16 bytes
  uint8_t seed = 1;                          // filler
};

// Where the builder puts the extended images (header offsets).
inline constexpr uint32_t kDevicesAt = 0x100;
inline constexpr uint32_t kNvdataAt = 0x200;
inline constexpr uint32_t kBootAt = 0x600;
inline constexpr uint32_t kInitAt = 0xE00;
inline constexpr uint32_t kProdIdAt = kNvdataAt + 0x40 + 4 * 0x10;

// A valid image: signatures, supported devices, NVDATA, boot loader and
// initialization images chained in that order, words summing to 0.
std::vector<uint8_t> FwImage(const FwFields& fields = {});

// Rewrites the checksum-adjust word (+0x18) so that the words sum to 0.
void FixFwChecksum(std::vector<uint8_t>* image);

// Named ways an image file can be broken. Every corruption but the
// signature, checksum and header truncations keeps the checksum valid, so
// the check it aims at is reached.
enum class FwCorruption {
  kBadSignature,
  kBadChecksum,        // the words sum to 1
  kShortHeader,        // the file ends inside the header (0xAF bytes)
  kTruncatedChain,     // the file ends inside the NVDATA header
  kNoExtendedImages,   // first-extended-image offset 0
  kChainOutsideFile,   // a next offset beyond the file
  kChainPointsBack,    // the last image links back to the first
  kChainToItself,
  kNoSupportedDevices,
  kDeviceCountPastFile,
  kWrongDeviceId,
  kRevisionOutOfRange,
  kNoNvdata,
  kBadNvdataSignature,
  kBadProdIdSignature,
  kProdIdOutsideFile,
  kNvdataDeviceMismatch,
  kNvdataSubsystemMismatch,
  kNvdataDowngrade,
  kVendorDiffers,
  kNoInitialization,
  kNoBootLoader,
  kIdentifiersDiffer,
};

std::vector<uint8_t> Corrupted(FwCorruption corruption, const FwFields& fields = {});

void PutLe16(std::vector<uint8_t>* bytes, size_t offset, uint16_t value);
void PutLe32(std::vector<uint8_t>* bytes, size_t offset, uint32_t value);
uint32_t Le32(const std::vector<uint8_t>& bytes, size_t offset);

}  // namespace fw_test
