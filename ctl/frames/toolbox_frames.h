// TOOLBOX requests: the clean tool and the two-wire bus (ISTWI) tool.
#pragma once

#include <cstddef>
#include <cstdint>

namespace toolbox_clean_frame {
inline constexpr size_t kTool = 0;       // u8, 0
inline constexpr size_t kFunction = 3;   // u8, 0x17
inline constexpr size_t kFlags = 12;     // u32
inline constexpr uint32_t kRequestLength = 16;
static_assert(kFlags + 4 == kRequestLength);
}  // namespace toolbox_clean_frame

namespace toolbox_clean_reply {
inline constexpr uint32_t kSize = 20;
}

namespace toolbox_istwi_frame {
inline constexpr size_t kTool = 0;            // u8, 3
inline constexpr size_t kFunction = 3;        // u8, 0x17
inline constexpr size_t kDeviceIndex = 20;    // u8
inline constexpr size_t kAction = 21;         // u8
inline constexpr size_t kTransmitLength = 24; // u16
inline constexpr size_t kReceiveLength = 26;  // u16
inline constexpr uint32_t kRequestLength = 60;
inline constexpr uint32_t kSpareWord = 48;    // what the block's spare word carries
}  // namespace toolbox_istwi_frame

namespace toolbox_istwi_reply {
inline constexpr uint32_t kSize = 28;
}

enum : uint8_t {
  kToolClean = 0,
  kToolIstwi = 3,
};

inline constexpr uint32_t kToolboxCleanFlagsAllowed = 0x20000000;
inline constexpr uint32_t kToolboxTimeout = 512;
