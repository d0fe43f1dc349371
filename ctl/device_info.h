// The identification block of one device (a SCSI target of an adapter), as
// the library keeps it in the device record and copies it out. Its complete
// field list arrives with the device scan; until then the block is a byte
// record of its final size with the few fields the library already reads.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kDeviceInfoSize = 936;

struct DeviceInfoBlock {
  uint8_t bytes[kDeviceInfoSize];
};
static_assert(sizeof(DeviceInfoBlock) == kDeviceInfoSize);

namespace device_info {
inline constexpr size_t kHandle = 0;          // u32 LibHandle of the device
inline constexpr size_t kDevHandle = 52;      // u16 the controller's device handle
inline constexpr size_t kVolumeHandle = 420;  // u32 handle of the volume this target presents, 0 for a plain device
static_assert(kVolumeHandle + 4 <= kDeviceInfoSize);
}  // namespace device_info
