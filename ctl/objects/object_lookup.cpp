#include "ctl/devices/device_scan.h"
#include "ctl/objects/object_tree.h"

LibStatus FindAdapter(LibContext* context, const LibHandle* adapter, AdapterRecord** out) {
  if (out != nullptr) *out = nullptr;
  if (adapter == nullptr) return kLibAdapterNotFound;
  if (HandleKind(*adapter) != kKindAdapter) return kLibBadHandle;
  for (AdapterRecord* a = context->adapterList; a != nullptr; a = a->next) {
    if (a->header.handle == *adapter) {
      if (out != nullptr) *out = a;
      return kLibOk;
    }
  }
  return kLibAdapterNotFound;
}

LibStatus FindDevice(LibContext* context, const LibHandle* device, DeviceRecord** out,
                     AdapterRecord** outAdapter) {
  if (out != nullptr) *out = nullptr;
  if (outAdapter != nullptr) *outAdapter = nullptr;
  if (device == nullptr) return kLibBadHandle;
  for (AdapterRecord* a = context->adapterList; a != nullptr; a = a->next) {
    for (DeviceRecord* d = a->devices; d != nullptr; d = d->next) {
      if (d->header.handle == *device) {
        if (out != nullptr) *out = d;
        if (outAdapter != nullptr) *outAdapter = a;
        return kLibOk;
      }
    }
  }
  return kLibBadHandle;
}

LibStatus FindDeviceByBusTargetLun(LibContext* context, const LibHandle* adapter, DeviceRecord** out,
                                   uint32_t bus, uint32_t target, uint8_t lun) {
  if (out != nullptr) *out = nullptr;
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  for (DeviceRecord* d = a->devices; d != nullptr; d = d->next) {
    if (d->bus == bus && d->target == target && d->lun == lun) {
      if (out != nullptr) *out = d;
      return kLibOk;
    }
  }
  return kLibNoDeviceAtAddress;
}

LibStatus FindDeviceByDevHandle(LibContext* context, const LibHandle* adapter, DeviceRecord** out,
                                uint16_t devHandle) {
  if (out != nullptr) *out = nullptr;
  if (adapter == nullptr) return kLibBadHandle;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  for (DeviceRecord* d = a->devices; d != nullptr; d = d->next) {
    if (DeviceDevHandle(d) == devHandle) {
      if (out != nullptr) *out = d;
      return kLibOk;
    }
  }
  return kLibBadHandle;
}

LibStatus FindVolume(LibContext* context, const LibHandle* volume, VolumeRecord** out,
                     AdapterRecord** outAdapter) {
  if (out != nullptr) *out = nullptr;
  if (outAdapter != nullptr) *outAdapter = nullptr;
  if (volume == nullptr) return kLibBadHandle;
  for (AdapterRecord* a = context->adapterList; a != nullptr; a = a->next) {
    for (VolumeRecord* v = a->volumes; v != nullptr; v = v->next) {
      if (v->header.handle == *volume) {
        if (out != nullptr) *out = v;
        if (outAdapter != nullptr) *outAdapter = a;
        return kLibOk;
      }
    }
  }
  return kLibBadHandle;
}

LibStatus FindPhysDisk(LibContext* context, const LibHandle* disk, PhysDiskRecord** out,
                       VolumeRecord** outVolume, AdapterRecord** outAdapter) {
  if (out != nullptr) *out = nullptr;
  if (outVolume != nullptr) *outVolume = nullptr;
  if (outAdapter != nullptr) *outAdapter = nullptr;
  if (disk == nullptr) return kLibBadHandle;
  for (AdapterRecord* a = context->adapterList; a != nullptr; a = a->next) {
    for (VolumeRecord* v = a->volumes; v != nullptr; v = v->next) {
      for (PhysDiskRecord* p = v->members; p != nullptr; p = p->next) {
        if (p->header.handle == *disk) {
          if (out != nullptr) *out = p;
          if (outVolume != nullptr) *outVolume = v;
          if (outAdapter != nullptr) *outAdapter = a;
          return kLibOk;
        }
      }
    }
    for (PhysDiskRecord* p = a->hotSpares; p != nullptr; p = p->next) {
      if (p->header.handle == *disk) {
        if (out != nullptr) *out = p;
        if (outAdapter != nullptr) *outAdapter = a;
        return kLibOk;
      }
    }
  }
  return kLibBadHandle;
}

LibStatus FindVolumeDevice(LibContext* context, const LibHandle* volume, DeviceRecord** out) {
  if (out != nullptr) *out = nullptr;
  VolumeRecord* v = nullptr;
  AdapterRecord* a = nullptr;
  LibStatus status = FindVolume(context, volume, &v, &a);
  if (status != kLibOk) return status;
  status = kLibOk;
  for (DeviceRecord* d = a->devices; d != nullptr; d = d->next) {
    if (!d->identified) {
      LibHandle deviceHandle = d->header.handle;
      status = GetDeviceInfo(context, 0, &a->header.handle, &deviceHandle, nullptr, 0);
    }
    if (DeviceVolumeHandle(d) == v->header.handle) {
      if (out != nullptr) *out = d;
      break;
    }
  }
  return status;
}
