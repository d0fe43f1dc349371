// One trace line per ioctl, as a driver trace reads (format in emu/README.md):
//   ioctl 0xC0484C14 /dev/qmx2ctl_cx ioc=0 fn=0x04 timeout=10 reply=24 in=0 out=0 sense=0
//     frame=00000004... dataout[0]= -> iocstatus=0x0000 loginfo=0x00000000
// (all on one line), or "-> errno=19" for a failed ioctl and "-> ok" for a
// successful one that carries no message.
#include <cerrno>
#include <cinttypes>
#include <cstdio>

#include "emu/host/emulator.h"
#include "emu/driver/ioctl_blocks.h"

namespace emu {
namespace {

constexpr size_t kTracedDataOutBytes = 4096;

const char* ErrorName(int errorNumber) {
  switch (errorNumber) {
    case EPERM: return "EPERM";
    case ENOENT: return "ENOENT";
    case EIO: return "EIO";
    case EBADF: return "EBADF";
    case EAGAIN: return "EAGAIN";
    case ENOMEM: return "ENOMEM";
    case EFAULT: return "EFAULT";
    case EBUSY: return "EBUSY";
    case ENODEV: return "ENODEV";
    case EINVAL: return "EINVAL";
    case ENOTTY: return "ENOTTY";
    case ETIMEDOUT: return "ETIMEDOUT";
    default: return "?";
  }
}

void AppendHex(std::string* line, const std::vector<uint8_t>& bytes, size_t limit) {
  static const char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    line->push_back(kDigits[bytes[i] >> 4]);
    line->push_back(kDigits[bytes[i] & 15]);
  }
}

}  // namespace

std::string FormatTraceLine(const LoggedCall& call) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "ioctl 0x%08" PRIX32 " %s ioc=%" PRIu32, call.request,
                call.node.empty() ? "-" : call.node.c_str(), call.ioc);
  std::string line = buffer;
  if (call.isCommand) {
    std::snprintf(buffer, sizeof buffer,
                  " fn=0x%02X timeout=%" PRIu32 " reply=%" PRIu32 " in=%" PRIu32 " out=%" PRIu32
                  " sense=%" PRIu32 " frame=",
                  call.function, call.timeoutSeconds, call.maxReplyBytes, call.dataInSize,
                  call.dataOutSize, call.maxSenseBytes);
    line += buffer;
    AppendHex(&line, call.frame, call.frame.size());
    line += " dataout[" + std::to_string(call.dataOut.size()) + "]=";
    AppendHex(&line, call.dataOut, kTracedDataOutBytes);
    if (call.dataOut.size() > kTracedDataOutBytes) line += "...";
  } else if (!call.block.empty()) {
    line += " size=" + std::to_string(ioctl::RequestSize(call.request));
  }
  if (call.errorNumber != 0) {
    std::snprintf(buffer, sizeof buffer, " -> errno=%d (%s)", call.errorNumber,
                  ErrorName(call.errorNumber));
  } else if (call.isCommand) {
    std::snprintf(buffer, sizeof buffer, " -> iocstatus=0x%04X loginfo=0x%08" PRIX32,
                  call.iocStatus, call.logInfo);
  } else {
    std::snprintf(buffer, sizeof buffer, " -> ok");
  }
  line += buffer;
  return line;
}

void Emulator::Trace(const LoggedCall& call) {
  if (trace_ == nullptr) return;
  std::string line = FormatTraceLine(call) + "\n";
  std::fwrite(line.data(), 1, line.size(), trace_);
  std::fflush(trace_);
}

}  // namespace emu
