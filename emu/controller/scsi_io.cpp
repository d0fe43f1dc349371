// SCSI IO (0x00) and the RAID SCSI IO passthrough (0x16): the controller
// finds the target of the frame's DevHandle, runs the CDB and reports the
// SCSI status (reply byte 12), the data moved (transfer count; IOCStatus
// 0x0045 when less than the frame's data length) and sense data, which it
// writes no further than the frame's sense buffer length and the driver's
// sense room allow. SCSI IO reaches bare modules and volumes; RAID members
// and hot spares are reached only through the passthrough.
#include <algorithm>

#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"
#include "emu/modules/scsi_target.h"

namespace emu {
namespace {

namespace s = qmx::scsi_io;

void Run(CommandRequest& request, CommandAnswer& answer, bool raidPassthrough) {
  const std::vector<uint8_t>& frame = request.frame;
  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, s::kReplyBytes);
  uint16_t handle = le::Get16(frame, s::kDevHandle);
  le::Put16(&reply, s::kReplyDevHandle, handle);

  uint16_t cdbLength = le::Get16(frame, s::kIoFlags);
  if (cdbLength == 0 || cdbLength > s::kMaxCdbBytes) return SetReplyStatus(&reply, kIocInvalidField);

  ScsiTarget target;
  target.adapter = &request.adapter;
  DeviceRef device = FindDevice(request.adapter, handle);
  if (raidPassthrough) {
    if (device.kind == DeviceKind::kRaidDisk) target.module = device.module;
  } else if (device.kind == DeviceKind::kModule) {
    target.module = device.module;
  } else if (device.kind == DeviceKind::kVolume && VolumeHasTarget(*device.volume)) {
    target.volume = device.volume;
  }
  if (target.module == nullptr && target.volume == nullptr) {
    return SetReplyStatus(&reply, kIocDeviceNotThere);
  }
  if (target.module != nullptr) target.runtime = &request.runtime.modules[target.module->slot];
  if (!raidPassthrough) {
    for (uint32_t i = 0; i < s::kLunBytes; ++i) target.lunZero &= le::Get8(frame, s::kLun + i) == 0;
  }

  std::vector<uint8_t> cdb(frame.begin() + s::kCdb, frame.begin() + s::kCdb + cdbLength);
  uint32_t dataLength = le::Get32(frame, s::kDataLength);
  uint32_t direction = le::Get32(frame, s::kControl) & s::kControlDirection;
  // A write moves at most the frame's data length of the data-out to the target.
  bool write = direction == s::kControlWrite;
  std::vector<uint8_t> toTarget;
  if (write) {
    size_t n = std::min<size_t>(dataLength, request.dataOut.size());
    toTarget.assign(request.dataOut.begin(), request.dataOut.begin() + static_cast<std::ptrdiff_t>(n));
  }
  ScsiOutcome outcome = ExecuteScsi(target, cdb, toTarget);

  // Data in needs a read transfer; a frame that says otherwise is refused.
  if (!outcome.dataIn.empty() && dataLength != 0 && direction != s::kControlRead) {
    return SetReplyStatus(&reply, kIocInvalidField);
  }
  size_t moved = write ? std::min<size_t>(outcome.bytesOut, dataLength)
                       : std::min<size_t>({outcome.dataIn.size(), dataLength, request.dataInSize});
  if (!write) answer.dataIn.assign(outcome.dataIn.begin(), outcome.dataIn.begin() + moved);
  le::Put8(&reply, s::kReplyScsiStatus, outcome.status);
  le::Put32(&reply, s::kReplyTransferCount, static_cast<uint32_t>(moved));
  if (outcome.status == kScsiCheckCondition || outcome.withSense) {
    std::vector<uint8_t> sense = BuildSense(outcome.sense, target.sense().descriptorFormat);
    size_t room = std::min<size_t>(le::Get8(frame, s::kSenseBufferLength), request.maxSenseBytes);
    sense.resize(std::min(sense.size(), room));
    answer.sense = sense;
    le::Put8(&reply, s::kReplyScsiState, s::kStateAutosenseValid);
    le::Put32(&reply, s::kReplySenseCount, static_cast<uint32_t>(sense.size()));
  }
  SetReplyStatus(&reply, moved < dataLength ? kIocDataUnderrun : kIocSuccess);
}

void ScsiIo(CommandRequest& request, CommandAnswer& answer) { Run(request, answer, false); }
void RaidScsiPassthrough(CommandRequest& request, CommandAnswer& answer) { Run(request, answer, true); }

}  // namespace

FunctionHandler ScsiIoHandler() { return {s::kRequestBytes, ScsiIo}; }
FunctionHandler RaidScsiPassthroughHandler() { return {s::kRequestBytes, RaidScsiPassthrough}; }

}  // namespace emu
