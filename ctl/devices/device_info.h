// The identification block of one device (a SCSI target of an adapter), as
// the library keeps it in the device record and copies it out: a handle
// word, then two sub-blocks that begin with their own size word. The first
// sub-block (the device part, 400 bytes at offset 8) has the same layout as
// the device part of a physical disk's information (ctl/raid/raid_records.h).
// Fields are little-endian at the fixed offsets below; the block is a byte
// record so that its layout is the same in every build.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kDeviceInfoSize = 936;
inline constexpr uint32_t kDevicePartSize = 400;
inline constexpr uint32_t kDeviceExtraPartSize = 528;

struct DeviceInfoBlock {
  uint8_t bytes[kDeviceInfoSize];
};
static_assert(sizeof(DeviceInfoBlock) == kDeviceInfoSize);

// Offsets within the 400-byte device part, from the part's start.
namespace device_part {
inline constexpr size_t kSize = 0;              // u32, 400 once filled on request
inline constexpr size_t kBus = 4;               // u32
inline constexpr size_t kTarget = 8;            // u32
inline constexpr size_t kLun = 16;              // u8
inline constexpr size_t kSasAddress = 32;       // u64
inline constexpr size_t kEnclosureHandle = 40;  // u16
inline constexpr size_t kSlot = 42;             // u16, the enclosure slot (the module's position 0-7)
inline constexpr size_t kDevHandle = 44;        // u16
inline constexpr size_t kInquiry = 46;          // u8[255], standard INQUIRY data
inline constexpr size_t kInquirySize = 255;
inline constexpr size_t kLastLba = 304;         // u64
inline constexpr size_t kBlockLength = 312;     // u32
inline constexpr size_t kCapacity = 320;        // u64, bytes
inline constexpr size_t kNonRotating = 328;     // u32
inline constexpr size_t kPhysicalPort = 332;    // u8
inline constexpr size_t kRotationRate = 334;    // u16
inline constexpr size_t kFormFactor = 336;      // u8
// The link power fields.
inline constexpr size_t kLinkPowerValid = 340;      // u32
inline constexpr size_t kSlumberCapable = 344;      // u32
inline constexpr size_t kPartialCapable = 348;      // u32
inline constexpr size_t kPhyPowerCondition = 352;   // u32: 0 active, 1 partial, 2 slumber, 3 other
inline constexpr size_t kIdentifier = 356;      // u8[32], from the device identification VPD page
inline constexpr size_t kIdentifierSize = 32;
inline constexpr size_t kIdentifierLength = 388;  // u32, 0-32
inline constexpr size_t kIdentifierType = 392;    // u8, the designator's code set
static_assert(kInquiry + kInquirySize <= kLastLba);
static_assert(kIdentifier + kIdentifierSize == kIdentifierLength);
static_assert(kIdentifierType < kDevicePartSize);
}  // namespace device_part

namespace device_info {
inline constexpr size_t kHandle = 0;        // u32 LibHandle of the device (kind 0x02)
inline constexpr size_t kDevicePart = 8;    // the 400-byte device part
inline constexpr size_t kExtraPart = 408;   // the 528-byte second sub-block
// The device part's fields at their block offsets.
inline constexpr size_t kPartSize = kDevicePart + device_part::kSize;
inline constexpr size_t kBus = kDevicePart + device_part::kBus;
inline constexpr size_t kTarget = kDevicePart + device_part::kTarget;
inline constexpr size_t kLun = kDevicePart + device_part::kLun;
inline constexpr size_t kSasAddress = kDevicePart + device_part::kSasAddress;
inline constexpr size_t kEnclosureHandle = kDevicePart + device_part::kEnclosureHandle;
inline constexpr size_t kSlot = kDevicePart + device_part::kSlot;
inline constexpr size_t kDevHandle = kDevicePart + device_part::kDevHandle;
inline constexpr size_t kInquiry = kDevicePart + device_part::kInquiry;
inline constexpr size_t kLastLba = kDevicePart + device_part::kLastLba;
inline constexpr size_t kBlockLength = kDevicePart + device_part::kBlockLength;
inline constexpr size_t kCapacity = kDevicePart + device_part::kCapacity;
inline constexpr size_t kNonRotating = kDevicePart + device_part::kNonRotating;
inline constexpr size_t kPhysicalPort = kDevicePart + device_part::kPhysicalPort;
inline constexpr size_t kRotationRate = kDevicePart + device_part::kRotationRate;
inline constexpr size_t kFormFactor = kDevicePart + device_part::kFormFactor;
inline constexpr size_t kLinkPowerValid = kDevicePart + device_part::kLinkPowerValid;
inline constexpr size_t kSlumberCapable = kDevicePart + device_part::kSlumberCapable;
inline constexpr size_t kPartialCapable = kDevicePart + device_part::kPartialCapable;
inline constexpr size_t kPhyPowerCondition = kDevicePart + device_part::kPhyPowerCondition;
inline constexpr size_t kIdentifier = kDevicePart + device_part::kIdentifier;
inline constexpr size_t kIdentifierLength = kDevicePart + device_part::kIdentifierLength;
inline constexpr size_t kIdentifierType = kDevicePart + device_part::kIdentifierType;
// The second sub-block.
inline constexpr size_t kExtraSize = kExtraPart + 0;    // u32, 528 once filled on request
inline constexpr size_t kDeviceType = kExtraPart + 4;   // u32, the peripheral device type
inline constexpr size_t kUnknownType = kExtraPart + 8;  // u32, 1 for peripheral type 31
inline constexpr size_t kVolumeHandle = kExtraPart + 12;  // u32 handle of the volume this target presents, 0 for a plain device
inline constexpr size_t kText = kExtraPart + 16;        // char[256], the start of /proc/scsi/scsi
inline constexpr size_t kTextSize = 256;
static_assert(kDevHandle == 52);
static_assert(kVolumeHandle == 420);
static_assert(kDevicePart + kDevicePartSize == kExtraPart);
static_assert(kExtraPart + kDeviceExtraPartSize == kDeviceInfoSize);
static_assert(kText + kTextSize <= kDeviceInfoSize);
}  // namespace device_info
