#include <cstring>

#include "ctl/base/lib_buffer.h"
#include "ctl/devices/scsi_io.h"

namespace {
constexpr int kScsiAttempts = 3;
constexpr uint8_t kScsiStatusCheckCondition = 0x02;
constexpr uint8_t kSenseKeyUnitAttention = 0x06;
}  // namespace

uint8_t SenseKey(const uint8_t* sense) {
  uint8_t responseCode = sense[0] & 0x7F;
  if (responseCode == 0x70 || responseCode == 0x71) return sense[2] & 0x0F;
  if (responseCode == 0x72 || responseCode == 0x73) return sense[1] & 0x0F;
  return 0;
}

LibStatus ScsiCommandRetry(LibContext* context, const LibHandle* object, ScsiPassthroughRequest* request) {
  if (object == nullptr || request == nullptr) return kLibBadHandle;
  uint32_t kind = HandleKind(*object);
  if (kind != kKindDevice && kind != kKindPhysDisk) return kLibBadHandle;
  LibStatus status = kLibOk;
  for (int attempt = 0; attempt < kScsiAttempts; ++attempt) {
    // Sense and status of an earlier attempt must not decide about this one:
    // a sender that fails before the device answers leaves them as they are.
    std::memset(request->sense, 0, sizeof(request->sense));
    request->scsiStatus = 0;
    status = kind == kKindDevice ? SendScsiIo(context, object, request)
                                 : RaidDiskScsiPassthrough(context, object, request);
    // A CHECK CONDITION is tried again whatever its key, and so is a UNIT
    // ATTENTION whatever the status it came with: the command it stood in
    // for was not carried out.
    if (request->scsiStatus != kScsiStatusCheckCondition && SenseKey(request->sense) != kSenseKeyUnitAttention) {
      break;
    }
  }
  return status;
}

LibStatus ScsiCommandWithBuffer(LibContext* context, const LibHandle* object,
                                ScsiPassthroughRequest* request) {
  if (request == nullptr) return kLibBadParameter;
  uint64_t callerBuffer = request->dataBuffer;
  uint8_t* caller = PointerAt<uint8_t>(callerBuffer);
  if (request->dataLength != 0 && caller == nullptr) return kLibBadParameter;
  LibBuffer buffer(context, request->dataLength);
  if (!buffer) return kLibNoMemory;
  if (request->direction == kScsiDataOut && request->dataLength != 0) {
    std::memcpy(buffer.get(), caller, request->dataLength);
  }
  request->dataBuffer = AddressOf(buffer.get());
  LibStatus status = ScsiCommandRetry(context, object, request);
  // Only received data goes back: the caller's data-out buffer is its own
  // (it may be read-only) and the device never changes what was sent.
  if (status == kLibOk && request->direction == kScsiDataIn && request->dataLength != 0) {
    std::memcpy(caller, buffer.get(), request->dataLength);
  }
  request->dataBuffer = callerBuffer;
  return status;
}
