// RAID ACTION (0x15): the controller's changes to its RAID configuration
// and the volume indicator. Every request is decoded from the raw frame and
// data-out, applied to the RAID state (from which every RAID page is
// generated, so a rescan sees the change) and logged with its answer.
#include "emu/controller/device_frames.h"
#include "emu/raid/device_rules.h"
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/host/le_bytes.h"
#include "emu/raid/raid_actions.h"

namespace emu {
namespace {

namespace ra = qmx::raid_action;

struct Action {
  AdapterModel& adapter;
  RaidModel& raid;
  uint16_t volumeHandle;
  uint8_t diskNumber;
  uint32_t word;
  const std::vector<uint8_t>& data;
  std::vector<uint8_t>& actionData;
};

uint16_t Indicator(Action& a) {
  const VolumeModel* v = a.raid.FindVolume(a.volumeHandle);
  if (v == nullptr) return kIocInvalidField;
  le::Put64(&a.actionData, 0, v->maxLba + 1);
  le::Put64(&a.actionData, 8, v->blocksRemaining);
  return kIocSuccess;
}

// The members become bare devices again; hot spares stay.
uint16_t DeleteVolume(Action& a) {
  const VolumeModel* v = a.raid.FindVolume(a.volumeHandle);
  if (v == nullptr) return kIocInvalidField;
  for (const VolumeMember& m : v->members) {
    std::erase_if(a.raid.disks, [&](const PhysDiskModel& d) { return d.number == m.disk; });
  }
  std::erase_if(a.raid.volumes, [&](const VolumeModel& x) { return x.devHandle == a.volumeHandle; });
  return kIocSuccess;
}

// Offline, online and fail act on volume members only.
uint16_t DiskState(Action& a, uint8_t action) {
  PhysDiskModel* disk = a.raid.FindDisk(a.diskNumber);
  if (disk == nullptr) return kIocInvalidField;
  const VolumeModel* owner = a.raid.VolumeOfDisk(disk->number);
  if (owner == nullptr) return kIocInvalidState;
  if (action == ra::kDiskOnline) {
    const ModuleModel* m = a.adapter.FindModule(disk->slot);
    if (m == nullptr || !ModuleAttached(a.adapter, *m)) return kIocInvalidState;
    disk->state = kDiskOptimal;
    disk->offlineReason = 0;
  } else {
    disk->state = kDiskOffline;
    disk->offlineReason = action == ra::kDiskOffline ? kOfflineRequested : kOfflineFailedRequested;
  }
  RecomputeVolumeState(a.raid, a.raid.FindVolume(owner->devHandle));
  return kIocSuccess;
}

uint16_t Activate(Action& a) {
  VolumeModel* v = a.raid.FindVolume(a.volumeHandle);
  if (v == nullptr) return kIocInvalidField;
  if ((v->statusFlags & kVolumeInactive) == 0) return kIocInvalidState;
  v->statusFlags = (v->statusFlags & ~kVolumeInactive) | kVolumeEnabled;
  v->inactiveStatus = 0;
  return kIocSuccess;
}

// Action data word: byte 0 the pool, bytes 2-3 the disk's DevHandle.
uint16_t CreateHotSpare(Action& a) {
  DeviceRef ref = FindDevice(a.adapter, static_cast<uint16_t>(a.word >> 16));
  if (ref.kind == DeviceKind::kRaidDisk) return kIocInvalidState;
  if (ref.kind != DeviceKind::kModule) return kIocInvalidField;
  RaidLimits limits = ReadRaidLimits(a.adapter);
  size_t hotSpares = 0;
  for (const PhysDiskModel& d : a.raid.disks) hotSpares += a.raid.VolumeOfDisk(d.number) == nullptr;
  if (hotSpares >= limits.maxHotSpares || a.raid.disks.size() >= limits.maxPhysDisks) {
    return kIocInsufficientResources;
  }
  PhysDiskModel disk;
  disk.number = a.raid.FreeDiskNumber();
  disk.slot = ref.module->slot;
  disk.state = kDiskHotSpare;
  disk.hotSparePool = static_cast<uint8_t>(a.word);
  a.raid.disks.push_back(disk);
  le::Put8(&a.actionData, 0, disk.number);
  return kIocSuccess;
}

uint16_t DeleteHotSpare(Action& a) {
  const PhysDiskModel* disk = a.raid.FindDisk(a.diskNumber);
  if (disk == nullptr) return kIocInvalidField;
  if (a.raid.VolumeOfDisk(disk->number) != nullptr) return kIocInvalidState;
  std::erase_if(a.raid.disks, [&](const PhysDiskModel& d) { return d.number == a.diskNumber; });
  return kIocSuccess;
}

// Action data word: byte 0 the function (0 consistency check, 1 background
// initialisation, 2 make data consistent), byte 1 the mode (0 or 1).
uint16_t RaidFunction(Action& a, bool start) {
  VolumeModel* v = a.raid.FindVolume(a.volumeHandle);
  if (v == nullptr) return kIocInvalidField;
  uint8_t function = static_cast<uint8_t>(a.word);
  uint8_t mode = static_cast<uint8_t>(a.word >> 8);
  const uint32_t flags[3] = {kVolumeConsistencyCheck, kVolumeBackgroundInit, kVolumeMakeConsistent};
  if (function > 2 || mode > 1) return kIocInvalidField;
  if (start) {
    v->statusFlags |= flags[function];
  } else {
    v->statusFlags &= ~flags[function];
  }
  return kIocSuccess;
}

uint16_t Dispatch(Action& a, uint8_t action) {
  switch (action) {
    case ra::kIndicator: return Indicator(a);
    case ra::kCreateVolume: return CreateVolume(a.adapter, a.data, &a.actionData);
    case ra::kDeleteVolume: return DeleteVolume(a);
    case ra::kDiskOffline:
    case ra::kDiskOnline:
    case ra::kFailDisk: return DiskState(a, action);
    case ra::kActivateVolume: return Activate(a);
    case ra::kCreateHotSpare: return CreateHotSpare(a);
    case ra::kDeleteHotSpare: return DeleteHotSpare(a);
    case ra::kStartFunction: return RaidFunction(a, true);
    case ra::kStopFunction: return RaidFunction(a, false);
    case ra::kCompatibilityCheck: return CompatibilityCheck(a.adapter, a.data, &a.actionData);
    case ra::kVendor:
    case ra::kMediaEraseNotice: return kIocSuccess;
    default: return kIocInvalidField;
  }
}

void RaidAction(CommandRequest& request, CommandAnswer& answer) {
  const std::vector<uint8_t>& frame = request.frame;
  RaidActionRecord record;
  record.action = le::Get8(frame, ra::kAction);
  record.volumeDevHandle = le::Get16(frame, ra::kVolumeDevHandle);
  record.diskNumber = le::Get8(frame, ra::kDiskNumber);
  record.libraryWord = le::Get32(frame, ra::kLibraryWord);
  record.actionDataWord = le::Get32(frame, ra::kActionDataWord);
  record.dataOut = request.dataOut;
  record.actionData.assign(ra::kReplyActionDataBytes, 0);

  Action action{request.adapter, request.adapter.raid, record.volumeDevHandle, record.diskNumber,
                record.actionDataWord, request.dataOut, record.actionData};
  record.iocStatus = Dispatch(action, record.action);
  if (record.iocStatus != kIocSuccess) record.actionData.assign(ra::kReplyActionDataBytes, 0);

  std::vector<uint8_t>& reply = answer.reply;
  reply = NewReply(request, ra::kReplyBytes);
  le::Put8(&reply, ra::kReplyAction, record.action);
  le::Put16(&reply, ra::kReplyVolumeDevHandle, record.volumeDevHandle);
  le::Put8(&reply, ra::kReplyDiskNumber, record.diskNumber);
  for (size_t i = 0; i < record.actionData.size(); ++i) {
    le::Put8(&reply, ra::kReplyActionData + i, record.actionData[i]);
  }
  SetReplyStatus(&reply, record.iocStatus);
  request.runtime.raidActions.push_back(std::move(record));
}

}  // namespace

FunctionHandler RaidActionHandler() { return {ra::kRequestBytes, RaidAction}; }

}  // namespace emu
