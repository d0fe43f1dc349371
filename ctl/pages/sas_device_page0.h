// Fields of SAS device page 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sas_device_page0 {
inline constexpr size_t kPhyNumber = 22;   // u8
inline constexpr size_t kDeviceInfo = 28;  // u32
inline constexpr size_t kMinimumSize = 32;
inline constexpr uint32_t kInfoSataDevice = 0x80;
inline constexpr uint32_t kInfoStpTarget = 0x200;
inline constexpr uint32_t kInfoSspTarget = 0x400;
inline constexpr uint32_t kInfoDirectAttach = 0x800;
}  // namespace sas_device_page0
