// The controller side of one COMMAND ioctl as a function handler sees it: the
// request frame and data-out bytes the driver handed over, and the reply,
// data-in and sense bytes the handler produces. The dispatcher decodes the
// driver block, picks the handler by the frame's function byte and writes
// back at most what the block's size fields allow.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "emu/host/host_model.h"

namespace emu {

class Emulator;
struct AdapterRuntime;

struct CommandRequest {
  Emulator& emulator;
  AdapterModel& adapter;
  AdapterRuntime& runtime;
  const std::vector<uint8_t>& frame;    // the request frame, scatter-gather offset × 4 bytes
  const std::vector<uint8_t>& dataOut;  // the data-out buffer's bytes (data-out size)
  uint32_t dataInSize = 0;              // room the caller gave for data-in
  uint32_t maxReplyBytes = 0;
  uint32_t maxSenseBytes = 0;
  uint32_t timeoutSeconds = 0;
};

struct CommandAnswer {
  std::vector<uint8_t> reply;   // the whole reply; cut to the caller's room when written
  std::vector<uint8_t> dataIn;  // cut to the data-in size when written
  std::vector<uint8_t> sense;   // cut to the maximum sense bytes when written
};

// One QMX function. `minimumFrameBytes` is the shortest frame the controller
// accepts for it; a shorter one is answered IOCStatus 0x0007 (invalid field)
// without calling the handler.
struct FunctionHandler {
  uint32_t minimumFrameBytes = 4;
  std::function<void(CommandRequest&, CommandAnswer&)> handle;
};

// A vendor operation of SAS IO unit control (0x80 and above): what the
// reply carries, the operation's value at reply byte 12 included.
struct VendorOperationAnswer {
  uint16_t iocStatus = 0;
  uint32_t logInfo = 0;
  uint16_t value = 0;
};
using IoUnitVendorHandler = std::function<VendorOperationAnswer(CommandRequest&)>;

// Reply helpers shared by the handlers: a zeroed reply of `bytes` bytes with
// the message length (words) at 2 and the frame's function at 3.
std::vector<uint8_t> NewReply(const CommandRequest& request, uint32_t bytes);
// Sets IOCStatus (u16 at 14) and IOCLogInfo (u32 at 16); bit 15 of the status
// is set when logInfo is not 0. The reply must hold at least 20 bytes.
void SetReplyStatus(std::vector<uint8_t>* reply, uint16_t iocStatus, uint32_t logInfo = 0);

// IOCStatus values the emulated controller answers.
enum IocStatus : uint16_t {
  kIocSuccess = 0x0000,
  kIocInvalidFunction = 0x0001,
  kIocBusy = 0x0002,
  kIocInvalidSgl = 0x0003,
  kIocInternalError = 0x0004,
  kIocInsufficientResources = 0x0006,
  kIocInvalidField = 0x0007,
  kIocInvalidState = 0x0008,
  kIocConfigInvalidAction = 0x0020,
  kIocConfigInvalidType = 0x0021,
  kIocConfigInvalidPage = 0x0022,
  kIocConfigInvalidData = 0x0023,
  kIocDeviceNotThere = 0x0043,
  kIocDataOverrun = 0x0044,
  kIocDataUnderrun = 0x0045,
  kIocSmpRequestFailed = 0x0090,
  kIocLogInfoAvailable = 0x8000,
};

}  // namespace emu
