// Appending to and unlinking from the lists of the object tree. Removal looks
// the record up first, so a record missing from its own list means the tree
// is inconsistent: that answers 1 and frees nothing.
#include "ctl/objects/object_tree.h"
#include "ctl/events/events.h"

namespace {

template <typename Record>
void AppendRecord(Record** head, Record* record) {
  Record** slot = head;
  while (*slot != nullptr) slot = &(*slot)->next;
  *slot = record;
}

// Unlinks the record with that handle; false when it is not in the list.
template <typename Record>
bool UnlinkRecord(Record** head, LibHandle handle) {
  for (Record** slot = head; *slot != nullptr; slot = &(*slot)->next) {
    if ((*slot)->header.handle == handle) {
      *slot = (*slot)->next;
      return true;
    }
  }
  return false;
}

template <typename Record>
Record* NewRecord(LibContext* context) {
  return static_cast<Record*>(QmxAlloc(context, 1, sizeof(Record)));
}

void FreeDevice(LibContext* context, DeviceRecord* device) {
  QmxFree(context, device->attachedBuffer);
  QmxFree(context, device);
}

void FreeDiskList(LibContext* context, PhysDiskRecord* disk) {
  while (disk != nullptr) {
    PhysDiskRecord* next = disk->next;
    QmxFree(context, disk);
    disk = next;
  }
}

// Everything under an adapter record (not the record itself).
void FreeAdapterChildren(LibContext* context, AdapterRecord* adapter) {
  for (DeviceRecord* d = adapter->devices; d != nullptr;) {
    DeviceRecord* next = d->next;
    FreeDevice(context, d);
    d = next;
  }
  for (VolumeRecord* v = adapter->volumes; v != nullptr;) {
    VolumeRecord* next = v->next;
    FreeDiskList(context, v->members);
    QmxFree(context, v);
    v = next;
  }
  FreeDiskList(context, adapter->hotSpares);
  adapter->devices = nullptr;
  adapter->volumes = nullptr;
  adapter->hotSpares = nullptr;
}

}  // namespace

LibStatus AddAdapterRecord(LibContext* context, AdapterRecord** out) {
  auto* record = NewRecord<AdapterRecord>(context);
  if (record == nullptr) return kLibNoMemory;
  AppendRecord(&context->adapterList, record);
  ++context->adapterCount;
  if (out != nullptr) *out = record;
  return kLibOk;
}

LibStatus RemoveAdapterRecord(LibContext* context, LibHandle adapter) {
  AdapterRecord* record = nullptr;
  for (AdapterRecord* a = context->adapterList; a != nullptr; a = a->next) {
    if (a->header.handle == adapter) record = a;
  }
  if (record == nullptr || !UnlinkRecord(&context->adapterList, adapter)) return kLibAdapterNotFound;
  --context->adapterCount;
  // Nothing can reach the adapter's objects once it is unlinked.
  FreeAdapterChildren(context, record);
  QmxFree(context, record);
  return kLibOk;
}

LibStatus AddDeviceRecord(LibContext* context, DeviceRecord** out, const LibHandle* adapter) {
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  auto* record = NewRecord<DeviceRecord>(context);
  if (record == nullptr) return kLibNoMemory;
  AppendRecord(&a->devices, record);
  if (out != nullptr) *out = record;
  return kLibOk;
}

LibStatus RemoveDeviceRecord(LibContext* context, const LibHandle* device) {
  DeviceRecord* d = nullptr;
  AdapterRecord* a = nullptr;
  LibStatus status = FindDevice(context, device, &d, &a);
  if (status != kLibOk) return status;
  if (!UnlinkRecord(&a->devices, d->header.handle)) return kLibFailure;
  FreeDevice(context, d);
  return kLibOk;
}

LibStatus AddVolumeRecord(LibContext* context, VolumeRecord** out, const LibHandle* adapter) {
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  auto* record = NewRecord<VolumeRecord>(context);
  if (record == nullptr) return kLibNoMemory;
  AppendRecord(&a->volumes, record);
  if (out != nullptr) *out = record;
  return kLibOk;
}

LibStatus RemoveVolumeRecord(LibContext* context, const LibHandle* volume) {
  VolumeRecord* v = nullptr;
  AdapterRecord* a = nullptr;
  LibStatus status = FindVolume(context, volume, &v, &a);
  if (status != kLibOk) return status;
  while (v->members != nullptr) {
    LibHandle member = v->members->header.handle;
    status = RemoveMemberDiskRecord(context, &member);
    if (status != kLibOk) return status;
  }
  if (!UnlinkRecord(&a->volumes, v->header.handle)) return kLibFailure;
  QmxFree(context, v);
  return kLibOk;
}

LibStatus AddMemberDiskRecord(LibContext* context, PhysDiskRecord** out, const LibHandle* volume) {
  VolumeRecord* v = nullptr;
  LibStatus status = FindVolume(context, volume, &v, nullptr);
  if (status != kLibOk) return status;
  auto* record = NewRecord<PhysDiskRecord>(context);
  if (record == nullptr) return kLibNoMemory;
  AppendRecord(&v->members, record);
  if (out != nullptr) *out = record;
  return kLibOk;
}

LibStatus AddHotSpareRecord(LibContext* context, PhysDiskRecord** out, const LibHandle* adapter) {
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  auto* record = NewRecord<PhysDiskRecord>(context);
  if (record == nullptr) return kLibNoMemory;
  AppendRecord(&a->hotSpares, record);
  if (out != nullptr) *out = record;
  return kLibOk;
}

LibStatus RemoveMemberDiskRecord(LibContext* context, const LibHandle* disk) {
  PhysDiskRecord* p = nullptr;
  VolumeRecord* v = nullptr;
  LibStatus status = FindPhysDisk(context, disk, &p, &v, nullptr);
  if (status != kLibOk) return status;
  if (v == nullptr) return kLibBadHandle;  // a hot spare belongs to no volume
  if (!UnlinkRecord(&v->members, p->header.handle)) return kLibFailure;
  QmxFree(context, p);
  return kLibOk;
}

LibStatus RemoveHotSpareRecord(LibContext* context, const LibHandle* adapter, const LibHandle* disk) {
  if (adapter == nullptr || disk == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  PhysDiskRecord* found = nullptr;
  for (PhysDiskRecord* p = a->hotSpares; p != nullptr; p = p->next) {
    if (p->header.handle == *disk) found = p;
  }
  if (found == nullptr || !UnlinkRecord(&a->hotSpares, *disk)) return kLibFailure;
  QmxFree(context, found);
  return kLibOk;
}

LibStatus ClearAdapterObjects(LibContext* context, const LibHandle* adapter) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  for (DeviceRecord* d = a->devices; d != nullptr && status == kLibOk;) {
    DeviceRecord* next = d->next;
    LibHandle handle = d->header.handle;
    status = RemoveDeviceRecord(context, &handle);
    d = next;
  }
  a->devices = nullptr;
  if (status != kLibOk) return status;
  for (VolumeRecord* v = a->volumes; v != nullptr && status == kLibOk;) {
    VolumeRecord* next = v->next;
    LibHandle handle = v->header.handle;
    status = RemoveVolumeRecord(context, &handle);
    v = next;
  }
  a->volumes = nullptr;
  if (status != kLibOk) return status;
  for (PhysDiskRecord* p = a->hotSpares; p != nullptr && status == kLibOk;) {
    PhysDiskRecord* next = p->next;
    LibHandle handle = p->header.handle;
    status = RemoveHotSpareRecord(context, adapter, &handle);
    p = next;
  }
  a->hotSpares = nullptr;
  return status;
}

void FreeObjectTree(LibContext* context) {
  for (AdapterRecord* a = context->adapterList; a != nullptr;) {
    AdapterRecord* next = a->next;
    FreeAdapterChildren(context, a);
    FreeEventQueues(context, a);
    QmxFree(context, a);
    a = next;
  }
  context->adapterList = nullptr;
  context->adapterCount = 0;
}
