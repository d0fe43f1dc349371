// The controller driver's control ioctls: read-write requests of type 'L'
// whose size field is the size of the fixed block. Every block begins with
// the same 12-byte header.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t DriverIoctlCode(uint32_t number, uint32_t blockSize) {
  return (3u << 30) | (blockSize << 16) | (0x4Cu << 8) | number;
}

inline constexpr uint32_t kIoctlIocInfo = DriverIoctlCode(17, 92);
inline constexpr uint32_t kIoctlCommand = DriverIoctlCode(20, 72);
inline constexpr uint32_t kIoctlEventQuery = DriverIoctlCode(21, 32);
inline constexpr uint32_t kIoctlEventEnable = DriverIoctlCode(22, 28);
inline constexpr uint32_t kIoctlEventReport = DriverIoctlCode(23, 212);
inline constexpr uint32_t kIoctlHardReset = DriverIoctlCode(24, 12);
inline constexpr uint32_t kIoctlDiagRegister = DriverIoctlCode(26, 120);
inline constexpr uint32_t kIoctlDiagRelease = DriverIoctlCode(27, 16);
inline constexpr uint32_t kIoctlDiagUnregister = DriverIoctlCode(28, 16);
inline constexpr uint32_t kIoctlDiagQuery = DriverIoctlCode(29, 124);
inline constexpr uint32_t kIoctlDiagRead = DriverIoctlCode(30, 32);
inline constexpr uint32_t kIoctlMapBusTarget = DriverIoctlCode(31, 24);

static_assert(kIoctlIocInfo == 0xC05C4C11);
static_assert(kIoctlCommand == 0xC0484C14);
static_assert(kIoctlEventQuery == 0xC0204C15);
static_assert(kIoctlEventEnable == 0xC01C4C16);
static_assert(kIoctlEventReport == 0xC0D44C17);
static_assert(kIoctlHardReset == 0xC00C4C18);
static_assert(kIoctlDiagRegister == 0xC0784C1A);
static_assert(kIoctlDiagRelease == 0xC0104C1B);
static_assert(kIoctlDiagUnregister == 0xC0104C1C);
static_assert(kIoctlDiagQuery == 0xC07C4C1D);
static_assert(kIoctlDiagRead == 0xC0204C1E);
static_assert(kIoctlMapBusTarget == 0xC0184C1F);

// The header every ioctl block starts with.
namespace ioctl_header {
inline constexpr size_t kIocNumber = 0;       // u32
inline constexpr size_t kPortNumber = 4;      // u32, always 0
inline constexpr size_t kMaxDataSize = 8;     // u32
inline constexpr size_t kSize = 12;
}  // namespace ioctl_header

// The hard-reset block is the header alone.
inline constexpr size_t kHardResetBlockSize = ioctl_header::kSize;

// Bus/target to DevHandle mapping.
namespace map_block {
inline constexpr size_t kTarget = 12;     // u32
inline constexpr size_t kBus = 16;        // u32
inline constexpr size_t kDevHandle = 20;  // u16, then 2 bytes zero
inline constexpr size_t kSize = 24;
static_assert(kDevHandle + 4 == kSize);
}  // namespace map_block
