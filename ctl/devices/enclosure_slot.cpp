// The enclosure slot of a device or physical disk: its status through the
// enclosure processor, and the identify (locate) indication built on it.
#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/devices/device_senders.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/sep_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/sas_device_page0.h"

namespace {

// Where an object keeps its identify state.
struct SlotOwner {
  LibHandle adapter = 0;
  uint16_t devHandle = 0;
  DeviceRecord* device = nullptr;
  PhysDiskRecord* disk = nullptr;

  uint32_t IdentifyActive() const {
    return device != nullptr ? device->identifyActive : GetLe32(disk->info.bytes, phys_disk_info::kIdentifyActive);
  }
  uint32_t SavedStatus() const {
    return device != nullptr ? device->savedSlotStatus
                             : GetLe32(disk->info.bytes, phys_disk_info::kSavedSlotStatus);
  }
  void Store(uint32_t active, uint32_t saved) {
    if (device != nullptr) {
      device->identifyActive = active;
      device->savedSlotStatus = saved;
    } else {
      PutLe32(disk->info.bytes, phys_disk_info::kIdentifyActive, active);
      PutLe32(disk->info.bytes, phys_disk_info::kSavedSlotStatus, saved);
    }
  }
};

LibStatus ResolveSlotOwner(LibContext* context, const LibHandle* object, SlotOwner* owner) {
  if (object == nullptr) return kLibBadHandle;
  AdapterRecord* adapter = nullptr;
  uint32_t kind = HandleKind(*object);
  LibStatus status = kLibBadHandle;
  if (kind & kKindDevice) {
    status = FindDevice(context, object, &owner->device, &adapter);
    if (status == kLibOk) owner->devHandle = DeviceDevHandle(owner->device);
  } else if (kind & kKindPhysDisk) {
    status = FindPhysDisk(context, object, &owner->disk, nullptr, &adapter);
    if (status == kLibOk) owner->devHandle = PhysDiskDevHandle(owner->disk);
  }
  if (status == kLibOk) owner->adapter = adapter->header.handle;
  return status;
}

}  // namespace

LibStatus SendSepRequest(LibContext* context, const LibHandle* adapter, uint16_t devHandle, uint32_t write,
                         uint32_t* slotStatus, uint8_t* reply) {
  if (adapter == nullptr) return kLibAdapterNotFound;
  if (slotStatus == nullptr || reply == nullptr) return kLibBadParameter;
  uint8_t page[sas_device_page0::kSize] = {};
  uint32_t size = sizeof(page);
  LibStatus status = ConfigPageReadCore(context, adapter, kPageAddressForm2 | devHandle, kPageTypeExtended, 0,
                                        kExtPageSasDevice, kReadCurrent, page, &size);
  if (status != kLibOk) return status;

  uint8_t frame[sep_frame::kRequestLength] = {};
  Put8(frame, sep_frame::kFunction, kFunctionSep);
  Put8(frame, sep_frame::kAction, write ? sep_frame::kActionWriteStatus : sep_frame::kActionReadStatus);
  Put8(frame, sep_frame::kFlags, sep_frame::kFlagsEnclosureSlot);
  PutLe32(frame, sep_frame::kSlotStatus, *slotStatus);
  PutLe16(frame, sep_frame::kSlot, GetLe16(page, sas_device_page0::kSlot));
  PutLe16(frame, sep_frame::kEnclosureHandle, GetLe16(page, sas_device_page0::kEnclosureHandle));

  QmxRequestBlock block;
  PrepareRequestBlock(&block, *adapter);
  block.requestLength = sep_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = sep_reply::kSize;
  block.reply = AddressOf(reply);
  status = IssueRequest(context, &block);
  if (status != kLibOk) return status;
  // A refused request carries no slot status: its zeros must not pass for one.
  if ((GetLe16(reply, sep_reply::kIocStatus) & kIocStatusMask) != 0) return kLibFailure;
  *slotStatus = GetLe32(reply, sep_reply::kSlotStatus);
  return kLibOk;
}

LibStatus ReadSlotStatus(LibContext* context, const LibHandle* object, uint32_t* slotStatus) {
  SlotOwner owner;
  LibStatus status = ResolveSlotOwner(context, object, &owner);
  if (status != kLibOk) return status;
  if (slotStatus == nullptr) return kLibBadParameter;
  uint8_t reply[sep_reply::kSize] = {};
  uint32_t value = 0;
  status = SendSepRequest(context, &owner.adapter, owner.devHandle, 0, &value, reply);
  if (status == kLibOk) *slotStatus = value;
  return status;
}

LibStatus WriteSlotStatus(LibContext* context, const LibHandle* object, uint32_t slotStatus) {
  SlotOwner owner;
  LibStatus status = ResolveSlotOwner(context, object, &owner);
  if (status != kLibOk) return status;
  uint8_t reply[sep_reply::kSize] = {};
  return SendSepRequest(context, &owner.adapter, owner.devHandle, 1, &slotStatus, reply);
}

LibStatus SetSlotIdentify(LibContext* context, const LibHandle* object, uint32_t on) {
  SlotOwner owner;
  LibStatus status = ResolveSlotOwner(context, object, &owner);
  if (status != kLibOk) return status;
  uint32_t current = 0;
  if (on) {
    status = ReadSlotStatus(context, object, &current);
    if (status != kLibOk) return status;
    owner.Store(1, current);
    return WriteSlotStatus(context, object, current | kSlotStatusIdentify);
  }
  if (owner.IdentifyActive()) {
    uint32_t saved = owner.SavedStatus();
    owner.Store(0, saved);
    return WriteSlotStatus(context, object, saved);
  }
  // Never switched on here: only a status read now may be written back,
  // with the identify request taken away.
  status = ReadSlotStatus(context, object, &current);
  if (status != kLibOk) return status;
  return WriteSlotStatus(context, object, current & ~kSlotStatusIdentify);
}
