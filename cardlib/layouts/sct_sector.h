// The SCT command sector (512 bytes written to log 0xE0) and the SCT status
// block read back from log 0xE0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sct_sector {
inline constexpr size_t kAction = 0;     // u16
inline constexpr size_t kFunction = 2;   // u16
inline constexpr uint32_t kSize = 512;
}  // namespace sct_sector

namespace sct_status {
inline constexpr size_t kFormat = 0;       // u8 (the low byte of the format version)
inline constexpr size_t kDeviceState = 10; // u8; 0 ready, 5 a background command running
inline constexpr uint8_t kReadyFormat = 3;
inline constexpr uint8_t kReadyState = 0;
inline constexpr uint32_t kSize = 512;
}  // namespace sct_status

// The module vendor's SCT actions.
namespace sct_action {
inline constexpr uint16_t kDiagInfo = 0xC000;        // read the DiagInfoBlock
inline constexpr uint16_t kUnlock = 0xC001;          // function = level; response from byte 256
inline constexpr uint16_t kDiagIdentify = 0xC002;
inline constexpr uint16_t kPackedParameters = 0xC003;
inline constexpr uint16_t kConfigImage = 0xC008;     // function 0 read, 1 write
inline constexpr uint16_t kFormatSettingsWrite = 0xC60B;
inline constexpr uint16_t kFormatSettingsRead = 0xC60C;
}  // namespace sct_action

// Format settings write (0xC60B function 1).
namespace sct_format_settings {
inline constexpr uint16_t kFunction = 1;
inline constexpr size_t kSelector = 5;     // u8, 2
inline constexpr size_t kApply = 27;       // u8, 1
inline constexpr size_t kValue = 62;       // u32
inline constexpr uint8_t kSelectorValue = 2;
inline constexpr uint8_t kApplyValue = 1;
}  // namespace sct_format_settings

// The packed parameters of action 0xC003, by sector offset.
namespace sct_packed {
inline constexpr size_t kField0 = 2;       // u16 (the function code)
inline constexpr size_t kField2 = 4;       // u32
inline constexpr size_t kField1 = 8;       // u32
inline constexpr size_t kField3 = 12;      // u32
inline constexpr size_t kField4 = 16;      // u32
inline constexpr size_t kField5Low = 20;   // u16
inline constexpr size_t kField5High = 22;  // u16
inline constexpr size_t kField6High = 24;  // u16
inline constexpr size_t kField7 = 40;      // u16
}  // namespace sct_packed
