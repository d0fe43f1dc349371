// SCSI enclosure processor (0x18): the slot status of the card's enclosure
// slots (its identify bit lights the slot's locate indication). Addressed by
// enclosure handle and slot, or by a module's DevHandle. A slot without a
// module, a slot past the enclosure's eight or an enclosure that does not
// exist is refused.
#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"

namespace emu {
namespace {

namespace sp = qmx::sep;

void Sep(CommandRequest& request, CommandAnswer& answer) {
  const std::vector<uint8_t>& frame = request.frame;
  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, sp::kReplyBytes);
  uint8_t action = le::Get8(frame, sp::kAction);
  uint8_t flags = le::Get8(frame, sp::kFlags);
  uint16_t slot = le::Get16(frame, sp::kSlot);
  uint16_t enclosure = le::Get16(frame, sp::kEnclosureHandle);
  le::Put8(&reply, sp::kReplyAction, action);
  le::Put8(&reply, sp::kReplyFlags, flags);
  le::Put16(&reply, sp::kReplySlot, slot);
  le::Put16(&reply, sp::kReplyEnclosureHandle, enclosure);

  ModuleModel* module = nullptr;
  if (flags == sp::kFlagsByEnclosureSlot) {
    if (enclosure != kEnclosureHandle || slot >= kSlotCount) return SetReplyStatus(&reply, kIocInvalidField);
    module = request.adapter.FindModule(static_cast<uint8_t>(slot));
  } else if (flags == sp::kFlagsByDevHandle) {
    module = request.adapter.FindModuleByHandle(le::Get16(frame, sp::kDevHandle));
    if (module == nullptr || !ModuleAttached(request.adapter, *module)) {
      return SetReplyStatus(&reply, kIocDeviceNotThere);
    }
  } else {
    return SetReplyStatus(&reply, kIocInvalidField);
  }
  if (module == nullptr || module->state == ModuleState::kMissing) {
    return SetReplyStatus(&reply, kIocDeviceNotThere);
  }
  if (action == sp::kActionWrite) {
    module->slotStatus = le::Get32(frame, sp::kSlotStatus);
  } else if (action != sp::kActionRead) {
    return SetReplyStatus(&reply, kIocInvalidField);
  }
  le::Put32(&reply, sp::kReplySlotStatus, module->slotStatus);
  SetReplyStatus(&reply, kIocSuccess);
}

}  // namespace

FunctionHandler SepHandler() { return {sp::kRequestBytes, Sep}; }

}  // namespace emu
