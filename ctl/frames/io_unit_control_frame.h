// The SAS IO unit control request (44 bytes) and its reply (20 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace io_unit_control_frame {
inline constexpr size_t kOperation = 0;   // u8
inline constexpr size_t kFunction = 3;    // u8, 0x1B
inline constexpr size_t kDevHandle = 4;   // u16, device operations
inline constexpr size_t kPhyNumber = 14;  // u8, phy operations
inline constexpr uint32_t kRequestLength = 44;
}  // namespace io_unit_control_frame

namespace io_unit_control_reply {
inline constexpr uint32_t kSize = 20;
}

// Operation codes of the QMX interface, by what they carry.
enum : uint8_t {
  kIoUnitClearPersistent = 2,
  kIoUnitPhyLinkReset = 6,
  kIoUnitPhyHardReset = 7,
  kIoUnitPhyClearErrorLog = 8,
  kIoUnitForceDiscovery = 11,
  kIoUnitRemoveDevice = 13,
  kIoUnitEnableFastPath = 16,
  kIoUnitDisableFastPath = 17,
  kIoUnitEnableFastPathAll = 18,
  kIoUnitDisableFastPathAll = 19,
  kIoUnitFirstVendorOperation = 0x80,
};
