// Fields of SAS device page 0 (56 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace sas_device_page0 {
inline constexpr uint8_t kNumber = 0;
inline constexpr size_t kSlot = 8;              // u16
inline constexpr size_t kEnclosureHandle = 10;  // u16
inline constexpr size_t kSasAddress = 12;       // u64
inline constexpr size_t kPhyNumber = 22;        // u8
inline constexpr size_t kAccessStatus = 23;     // u8
inline constexpr size_t kDevHandle = 24;        // u16
inline constexpr size_t kDeviceInfo = 28;       // u32
inline constexpr size_t kFlags = 32;            // u16
inline constexpr size_t kPhysicalPort = 34;     // u8
inline constexpr size_t kMinimumSize = 32;
inline constexpr uint32_t kSize = 56;
inline constexpr uint32_t kInfoSataDevice = 0x80;
inline constexpr uint32_t kInfoStpTarget = 0x200;
inline constexpr uint32_t kInfoSspTarget = 0x400;
inline constexpr uint32_t kInfoDirectAttach = 0x800;
inline constexpr uint32_t kInfoAtapiDevice = 0x2000;
inline constexpr uint32_t kInfoSepTarget = 0x4000;
// A device with none of these is no SCSI target of the host (an expander).
inline constexpr uint32_t kInfoTargetBits =
    kInfoSataDevice | kInfoStpTarget | kInfoSspTarget | kInfoAtapiDevice | kInfoSepTarget;
inline constexpr uint8_t kAccessBlocked = 7;
inline constexpr uint16_t kFlagDeviceValid = 0x0001;  // the page describes a device
inline constexpr uint16_t kFlagSlumberCapable = 0x1000;
inline constexpr uint16_t kFlagPartialCapable = 0x0800;
// The DevHandle from which a "next device" walk starts.
inline constexpr uint16_t kWalkStart = 0xFFFF;
}  // namespace sas_device_page0
