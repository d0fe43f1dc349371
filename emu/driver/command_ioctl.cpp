// The COMMAND ioctl: the driver reads its 72-byte head and the request frame,
// gathers the data-out buffer, hands the frame to the controller's function
// and copies back at most the reply, data-in and sense room the head names.
// Buffer addresses are 64-bit fields holding this process's pointers
// (zero-extended in a 32-bit build).
#include <cerrno>
#include <cstring>

#include "emu/host/emulator.h"
#include "emu/driver/ioctl_blocks.h"
#include "emu/host/le_bytes.h"
#include "emu/controller/qmx_frames.h"

namespace emu {
namespace {

namespace cmd = ioctl::command;

// The caller's buffer at a 64-bit address; false when it cannot be one of
// this process's pointers, or is null while bytes are to move.
bool UserBuffer(uint64_t address, uint32_t size, uint8_t** out) {
  *out = nullptr;
  if (size == 0) return true;
  if (address == 0 || address > static_cast<uint64_t>(UINTPTR_MAX)) return false;
  *out = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address));
  return true;
}

}  // namespace

std::vector<uint8_t> NewReply(const CommandRequest& request, uint32_t bytes) {
  std::vector<uint8_t> reply(bytes, 0);
  le::Put8(&reply, qmx::reply::kMessageLength, static_cast<uint8_t>(bytes / 4));
  le::Put8(&reply, qmx::reply::kFunction, le::Get8(request.frame, qmx::kFrameFunction));
  return reply;
}

void SetReplyStatus(std::vector<uint8_t>* reply, uint16_t iocStatus, uint32_t logInfo) {
  if (logInfo != 0) iocStatus = static_cast<uint16_t>(iocStatus | kIocLogInfoAvailable);
  le::Put16(reply, qmx::reply::kIocStatus, iocStatus);
  le::Put32(reply, qmx::reply::kIocLogInfo, logInfo);
}

int Emulator::Command(const std::string& node, AdapterModel& adapter, uint8_t* block,
                      LoggedCall* call) {
  call->isCommand = true;
  call->timeoutSeconds = le::Get32(block + cmd::kTimeout);
  call->maxReplyBytes = le::Get32(block + cmd::kMaxReplyBytes);
  call->dataInSize = le::Get32(block + cmd::kDataInSize);
  call->dataOutSize = le::Get32(block + cmd::kDataOutSize);
  call->maxSenseBytes = le::Get32(block + cmd::kMaxSenseBytes);
  uint32_t frameWords = le::Get32(block + cmd::kSglOffsetWords);

  // The driver copies the frame only when it fits its request frame size.
  if (frameWords == 0 || frameWords > cmd::kMaxFrameBytes / 4) return EINVAL;
  std::vector<uint8_t> frame(block + cmd::kFrame, block + cmd::kFrame + frameWords * 4);
  call->frame = frame;
  call->function = frame[qmx::kFrameFunction];

  uint8_t *reply = nullptr, *dataIn = nullptr, *dataOut = nullptr, *sense = nullptr;
  if (!UserBuffer(le::Get64(block + cmd::kReplyAddress), call->maxReplyBytes, &reply) ||
      !UserBuffer(le::Get64(block + cmd::kDataInAddress), call->dataInSize, &dataIn) ||
      !UserBuffer(le::Get64(block + cmd::kDataOutAddress), call->dataOutSize, &dataOut) ||
      !UserBuffer(le::Get64(block + cmd::kSenseAddress), call->maxSenseBytes, &sense)) {
    return EFAULT;
  }
  std::vector<uint8_t> dataOutBytes;
  if (dataOut != nullptr) dataOutBytes.assign(dataOut, dataOut + call->dataOutSize);
  call->dataOut = dataOutBytes;

  if (std::optional<Fault> fault = TakeIoctlFault(ioctl::kCommand, call->function, adapter.ioc)) {
    return fault->errorNumber;
  }

  CommandRequest request{*this, adapter, runtime(node, adapter.ioc), frame, dataOutBytes,
                         call->dataInSize, call->maxReplyBytes, call->maxSenseBytes,
                         call->timeoutSeconds};
  CommandAnswer answer;
  auto handler = functions_.find(call->function);
  if (std::optional<Fault> fault = TakeAnswerFault(call->function, nullptr, adapter.ioc)) {
    answer.reply = NewReply(request, qmx::reply::kMinimumBytes);
    SetReplyStatus(&answer.reply, fault->iocStatus, fault->logInfo);
  } else if (handler == functions_.end()) {
    answer.reply = NewReply(request, qmx::reply::kMinimumBytes);
    SetReplyStatus(&answer.reply, kIocInvalidFunction);
  } else if (frame.size() < handler->second.minimumFrameBytes) {
    answer.reply = NewReply(request, qmx::reply::kMinimumBytes);
    SetReplyStatus(&answer.reply, kIocInvalidField);
  } else {
    handler->second.handle(request, answer);
  }
  call->iocStatus = le::Get16(answer.reply, qmx::reply::kIocStatus);
  call->logInfo = le::Get32(answer.reply, qmx::reply::kIocLogInfo);

  if (std::optional<Fault> cut = TakeReplyCut(call->function, adapter.ioc)) {
    if (answer.reply.size() > cut->bytes) answer.reply.resize(cut->bytes);
    le::Put8(&answer.reply, qmx::reply::kMessageLength,
             static_cast<uint8_t>(answer.reply.size() / 4));
  }

  auto copyOut = [](const std::vector<uint8_t>& bytes, uint8_t* to, uint32_t room) {
    uint32_t n = static_cast<uint32_t>(std::min<size_t>(bytes.size(), room));
    if (n != 0) std::memcpy(to, bytes.data(), n);
    return n;
  };
  call->replyBytesWritten = copyOut(answer.reply, reply, call->maxReplyBytes);
  call->dataInBytesWritten = copyOut(answer.dataIn, dataIn, call->dataInSize);
  call->senseBytesWritten = copyOut(answer.sense, sense, call->maxSenseBytes);
  return 0;
}

}  // namespace emu
