// The SCSI task-management request (52 bytes) and its reply (28 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace task_frame {
inline constexpr size_t kDevHandle = 0;  // u16
inline constexpr size_t kFunction = 3;   // u8, 0x01
inline constexpr size_t kTaskType = 5;   // u8
inline constexpr size_t kMsgFlags = 7;   // u8
inline constexpr size_t kLun = 12;       // 8 bytes
inline constexpr size_t kLunNumber = 13; // u8, the LUN's second byte
inline constexpr uint32_t kRequestLength = 52;
}  // namespace task_frame

namespace task_reply {
inline constexpr size_t kResponseCode = 4;       // u8
inline constexpr size_t kIocStatus = 14;         // u16
inline constexpr size_t kTerminationCount = 20;  // u32
inline constexpr uint32_t kSize = 28;
}  // namespace task_reply

enum : uint8_t {
  kTaskAbortTask = 1,
  kTaskAbortTaskSet = 2,
  kTaskTargetReset = 3,
  kTaskLogicalUnitReset = 5,
  kTaskClearTaskSet = 6,
  kTaskQueryTask = 7,
  kTaskClearAca = 8,
  kTaskQueryTaskSet = 9,
  kTaskQueryAsyncEvent = 10,
};
