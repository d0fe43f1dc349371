// The RAID ACTION message: what each action's handle names, the frame and
// the reply.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/message_reply.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/objects/object_tree.h"
#include "ctl/raid/raid_actions.h"

namespace {

enum class ActionTarget { kVolume, kPhysDisk, kAdapter, kUnknown };

ActionTarget TargetOfAction(uint8_t action) {
  switch (action) {
    case kRaidActionIndicator:
    case kRaidActionDeleteVolume:
    case kRaidActionActivateVolume:
    case kRaidActionStartFunction:
    case kRaidActionStopFunction: return ActionTarget::kVolume;
    case kRaidActionDiskOffline:
    case kRaidActionDiskOnline:
    case kRaidActionFailDisk:
    case kRaidActionDeleteHotSpare: return ActionTarget::kPhysDisk;
    case kRaidActionCreateVolume:
    case kRaidActionCreateHotSpare:
    case kRaidActionCompatibility:
    case kRaidActionVendor: return ActionTarget::kAdapter;
    default: return ActionTarget::kUnknown;
  }
}

// The actions that change the card's configuration carry its marker.
bool CarriesCardMarker(uint8_t action) {
  return action == kRaidActionCreateVolume || action == kRaidActionDeleteVolume ||
         action == kRaidActionCreateHotSpare || action == kRaidActionDeleteHotSpare;
}

}  // namespace

LibStatus SendRaidActionRequest(LibContext* context, const LibHandle* handle, uint8_t action,
                                uint32_t actionDataWord, uint8_t* actionData, const void* dataOut,
                                const uint32_t* dataOutLength) {
  ActionTarget target = TargetOfAction(action);
  if (target == ActionTarget::kUnknown) return kLibRaidActionUnsupported;
  if (dataOut != nullptr && dataOutLength == nullptr) return kLibBadParameter;
  AdapterRecord* adapter = nullptr;
  uint16_t volumeDevHandle = 0;
  uint8_t diskNumber = 0;
  LibStatus status = kLibOk;
  if (target == ActionTarget::kVolume) {
    VolumeRecord* v = nullptr;
    status = FindVolume(context, handle, &v, &adapter);
    if (status == kLibOk) volumeDevHandle = v->devHandle;
  } else if (target == ActionTarget::kPhysDisk) {
    PhysDiskRecord* p = nullptr;
    status = FindPhysDisk(context, handle, &p, nullptr, &adapter);
    if (status == kLibOk) diskNumber = PhysDiskNumber(p);
  } else {
    status = FindAdapter(context, handle, &adapter);
  }
  if (status != kLibOk) return status;
  LibHandle adapterHandle = adapter->header.handle;
  status = FindAdapter(context, &adapterHandle, &adapter);
  if (status != kLibOk) return status;

  LibBuffer reply(context, raid_action_reply::kBufferSize);
  if (!reply) return kLibNoMemory;
  uint8_t frame[raid_action_frame::kRequestLength] = {};
  Put8(frame, raid_action_frame::kAction, action);
  Put8(frame, raid_action_frame::kFunction, kFunctionRaidAction);
  PutLe16(frame, raid_action_frame::kVolumeDevHandle, volumeDevHandle);
  Put8(frame, raid_action_frame::kDiskNumber, diskNumber);
  if ((context->discoveryFlags & kDiscoverCardFamily) && adapter->isCard && CarriesCardMarker(action)) {
    PutLe32(frame, raid_action_frame::kCardMarker, raid_action_frame::kCardMarkerValue);
  }
  PutLe32(frame, raid_action_frame::kActionData, actionDataWord);

  QmxRequestBlock block;
  PrepareRequestBlock(&block, adapterHandle);
  block.requestLength = raid_action_frame::kRequestLength;
  block.requestFrame = AddressOf(frame);
  block.replyLength = raid_action_reply::kBufferSize;
  block.reply = AddressOf(reply.get());
  if (dataOut != nullptr) {
    block.dataOutLength = *dataOutLength;
    block.dataOut = AddressOf(dataOut);
  }
  block.timeout = raid_action_frame::kTimeout;
  status = IssueRequest(context, &block);
  if (status != kLibOk) return status;
  if (GetLe16(reply.get(), raid_action_reply::kIocStatus) != 0) return kLibRaidActionFailed;
  if (actionData != nullptr) {
    std::memcpy(actionData, reply.get() + raid_action_reply::kActionData, raid_action_reply::kActionDataSize);
  }
  return kLibOk;
}
