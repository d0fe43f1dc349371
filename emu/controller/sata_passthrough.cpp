// SATA passthrough (0x1C): the register FIS goes to the module with the
// frame's DevHandle, bare or a RAID physical disk; its status FIS, the
// data it moved and the link's status come back. A DevHandle that names no
// module on the bus is answered 0x0043 (device not there); a frame that
// carries no Host-to-Device register FIS, and a module that speaks SAS
// (no SATA device behind the phy), 0x0007.
#include <algorithm>

#include "emu/modules/ata_commands.h"
#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

namespace sa = qmx::sata;

constexpr uint8_t kFisHostToDevice = 0x27;
constexpr uint32_t kLinkStatus = 0x00000133;  // SStatus: device present, 6.0 Gbps, active

void SataPassthrough(CommandRequest& request, CommandAnswer& answer) {
  const std::vector<uint8_t>& frame = request.frame;
  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, sa::kReplyBytes);
  uint16_t handle = le::Get16(frame, sa::kDevHandle);
  le::Put16(&reply, sa::kReplyDevHandle, handle);

  // An armed module abort counts every request that reaches the
  // controller's passthrough; it acts when a SATA module gets the command.
  bool abort = request.emulator.TakeModuleAbort(request.adapter.ioc);
  DeviceRef ref = FindDevice(request.adapter, handle);
  if (ref.kind != DeviceKind::kModule && ref.kind != DeviceKind::kRaidDisk) {
    return SetReplyStatus(&reply, kIocDeviceNotThere);
  }
  std::vector<uint8_t> fis(frame.begin() + sa::kCommandFis, frame.begin() + sa::kCommandFis + sa::kFisBytes);
  if (fis[0] != kFisHostToDevice || ModuleIsSas(*ref.module)) return SetReplyStatus(&reply, kIocInvalidField);

  if (abort) {
    // The module aborts the command without running it: no data moves.
    std::vector<uint8_t> aborted = StatusFis(kAtaStatusReady | kAtaStatusSeek | kAtaStatusError, kAtaErrorAbort);
    for (uint32_t i = 0; i < sa::kFisBytes && i < aborted.size(); ++i) {
      le::Put8(&reply, sa::kReplyStatusFis + i, aborted[i]);
    }
    le::Put32(&reply, sa::kReplyStatusControl, kLinkStatus);
    return SetReplyStatus(&reply, kIocSuccess);
  }
  AtaRequest ata{request.adapter,  *ref.module,   request.runtime.modules[ref.module->slot],
                 fis,              le::Get16(frame, sa::kFlags), le::Get32(frame, sa::kDataLength),
                 request.dataOut,  request.dataInSize};
  AtaResult result = ExecuteAta(ata);
  if (result.statusFis.empty()) return SetReplyStatus(&reply, result.iocStatus);
  for (uint32_t i = 0; i < sa::kFisBytes && i < result.statusFis.size(); ++i) {
    le::Put8(&reply, sa::kReplyStatusFis + i, result.statusFis[i]);
  }
  if (result.dataIn.size() > request.dataInSize) result.dataIn.resize(request.dataInSize);
  answer.dataIn = std::move(result.dataIn);
  le::Put32(&reply, sa::kReplyStatusControl, kLinkStatus);
  le::Put32(&reply, sa::kReplyTransferCount, result.transferCount);
  SetReplyStatus(&reply, result.iocStatus);
}

}  // namespace

FunctionHandler SataPassthroughHandler() { return {sa::kRequestBytes, SataPassthrough}; }

}  // namespace emu
