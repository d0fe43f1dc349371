// The IOC information block the driver fills for one IOC number.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ioc_info_block {
inline constexpr size_t kIocNumber = 0;          // u32, set by the caller
inline constexpr size_t kPortNumber = 4;         // u32, 0
inline constexpr size_t kMaxDataSize = 8;        // u32, 92
inline constexpr size_t kAdapterType = 12;       // u32
inline constexpr size_t kReportedPort = 16;      // u32
inline constexpr size_t kPciDeviceId = 20;       // u32
inline constexpr size_t kHardwareRevision = 24;  // u32
inline constexpr size_t kSubsystemDeviceId = 28; // u32
inline constexpr size_t kSubsystemVendorId = 32; // u32
inline constexpr size_t kReservedWord = 36;      // u32
inline constexpr size_t kFirmwareVersion = 40;   // u32
inline constexpr size_t kBiosVersion = 44;       // u32
inline constexpr size_t kDriverVersion = 48;     // char[32], zero-terminated
inline constexpr size_t kDriverVersionSize = 32;
inline constexpr size_t kScsiId = 81;            // u8
inline constexpr size_t kPciLocation = 84;       // u32
inline constexpr size_t kPciSegment = 88;        // u32
inline constexpr size_t kSize = 92;
static_assert(kPciSegment + 4 == kSize);
}  // namespace ioc_info_block
