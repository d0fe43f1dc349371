#include "ctl/objects/object_tree.h"

namespace {

template <typename Record>
uint32_t CountList(const Record* head) {
  uint32_t count = 0;
  for (; head != nullptr; head = head->next) ++count;
  return count;
}

}  // namespace

LibStatus CountAdapters(LibContext* context, uint32_t* count) {
  if (count != nullptr) *count = CountList(context->adapterList);
  return kLibOk;
}

LibStatus CountDevices(LibContext* context, const LibHandle* adapter, uint32_t* count) {
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (count != nullptr) *count = status == kLibOk ? CountList(a->devices) : 0;
  return status;
}

LibStatus CountVolumes(LibContext* context, const LibHandle* adapter, uint32_t* count) {
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (count != nullptr) *count = status == kLibOk ? CountList(a->volumes) : 0;
  return status;
}

LibStatus CountHotSpares(LibContext* context, const LibHandle* adapter, uint32_t* count) {
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (count != nullptr) *count = status == kLibOk ? CountList(a->hotSpares) : 0;
  return status;
}

LibStatus CountMemberDisks(LibContext* context, const LibHandle* volume, uint32_t* count) {
  if (volume == nullptr) return kLibBadHandle;
  VolumeRecord* v = nullptr;
  LibStatus status = FindVolume(context, volume, &v, nullptr);
  if (count != nullptr) *count = status == kLibOk ? CountList(v->members) : 0;
  return status;
}

LibStatus GetDiskDevHandle(LibContext* context, const LibHandle* adapter, const LibHandle* object,
                           uint16_t* devHandle) {
  if (adapter == nullptr || object == nullptr) return kLibBadHandle;
  DeviceRecord* d = nullptr;
  AdapterRecord* owner = nullptr;
  if (FindDevice(context, object, &d, &owner) == kLibOk) {
    if (owner->header.handle != *adapter || d->peripheralType != 0) return kLibFailure;
    if (devHandle != nullptr) *devHandle = DeviceDevHandle(d);
    return kLibOk;
  }
  PhysDiskRecord* p = nullptr;
  if (FindPhysDisk(context, object, &p, nullptr, &owner) != kLibOk) return kLibBadHandle;
  if (owner->header.handle != *adapter) return kLibFailure;
  if (devHandle != nullptr) *devHandle = PhysDiskDevHandle(p);
  return kLibOk;
}

LibStatus GetVolumeDevHandle(LibContext* context, const LibHandle* adapter, const LibHandle* volume,
                             uint16_t* devHandle) {
  if (adapter == nullptr) return kLibBadHandle;
  VolumeRecord* v = nullptr;
  AdapterRecord* owner = nullptr;
  if (FindVolume(context, volume, &v, &owner) != kLibOk) return kLibBadHandle;
  if (owner->header.handle != *adapter) return kLibFailure;
  if (devHandle != nullptr) *devHandle = v->devHandle;
  return kLibOk;
}
