// Lookups, appending, removal and counting in the object tree, and the
// DevHandle getters the request senders use. Handle arguments are pointers;
// statuses as in ctl/base/lib_status.h.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"

// Fills an object header: handle = (kind word AND 0xFF000000) + the context's
// handle counter, which then moves on. Always 0.
LibStatus AssignObjectHandle(LibContext* context, ObjectHeader* header, uint32_t kindWord,
                             uint32_t location0, uint32_t location1, uint32_t location2,
                             uint8_t locationByte);

// The DevHandle of a device, kept in its identification block.
uint16_t DeviceDevHandle(const DeviceRecord* device);
void SetDeviceDevHandle(DeviceRecord* device, uint16_t devHandle);
// The handle of the volume a device presents (0 for a plain device).
LibHandle DeviceVolumeHandle(const DeviceRecord* device);
void SetDeviceVolumeHandle(DeviceRecord* device, LibHandle volume);
// The DevHandle of a physical disk; the setter keeps the record's word and
// its RAID summary together.
uint16_t PhysDiskDevHandle(const PhysDiskRecord* disk);
void SetPhysDiskDevHandle(PhysDiskRecord* disk, uint16_t devHandle);
// The disk number kept in a physical disk's RAID summary.
uint8_t PhysDiskNumber(const PhysDiskRecord* disk);

LibStatus FindAdapter(LibContext* context, const LibHandle* adapter, AdapterRecord** out);
LibStatus FindDevice(LibContext* context, const LibHandle* device, DeviceRecord** out,
                     AdapterRecord** outAdapter);
LibStatus FindDeviceByBusTargetLun(LibContext* context, const LibHandle* adapter, DeviceRecord** out,
                                   uint32_t bus, uint32_t target, uint8_t lun);
LibStatus FindDeviceByDevHandle(LibContext* context, const LibHandle* adapter, DeviceRecord** out,
                                uint16_t devHandle);
LibStatus FindVolume(LibContext* context, const LibHandle* volume, VolumeRecord** out,
                     AdapterRecord** outAdapter);
// Members of every volume first, then the hot spares, adapter by adapter;
// *outVolume is null for a hot spare.
LibStatus FindPhysDisk(LibContext* context, const LibHandle* disk, PhysDiskRecord** out,
                       VolumeRecord** outVolume, AdapterRecord** outAdapter);
// The device whose identification block names the volume; null when none.
LibStatus FindVolumeDevice(LibContext* context, const LibHandle* volume, DeviceRecord** out);

LibStatus AddAdapterRecord(LibContext* context, AdapterRecord** out);
LibStatus RemoveAdapterRecord(LibContext* context, LibHandle adapter);
LibStatus AddDeviceRecord(LibContext* context, DeviceRecord** out, const LibHandle* adapter);
LibStatus RemoveDeviceRecord(LibContext* context, const LibHandle* device);
LibStatus AddVolumeRecord(LibContext* context, VolumeRecord** out, const LibHandle* adapter);
LibStatus RemoveVolumeRecord(LibContext* context, const LibHandle* volume);
LibStatus AddMemberDiskRecord(LibContext* context, PhysDiskRecord** out, const LibHandle* volume);
LibStatus AddHotSpareRecord(LibContext* context, PhysDiskRecord** out, const LibHandle* adapter);
LibStatus RemoveMemberDiskRecord(LibContext* context, const LibHandle* disk);
LibStatus RemoveHotSpareRecord(LibContext* context, const LibHandle* adapter, const LibHandle* disk);
// Removes the adapter's devices, then its volumes with their members, then
// its hot spares.
LibStatus ClearAdapterObjects(LibContext* context, const LibHandle* adapter);
// Releases every record of the context (used when the context is replaced).
void FreeObjectTree(LibContext* context);

LibStatus CountAdapters(LibContext* context, uint32_t* count);
LibStatus CountDevices(LibContext* context, const LibHandle* adapter, uint32_t* count);
LibStatus CountVolumes(LibContext* context, const LibHandle* adapter, uint32_t* count);
LibStatus CountHotSpares(LibContext* context, const LibHandle* adapter, uint32_t* count);
LibStatus CountMemberDisks(LibContext* context, const LibHandle* volume, uint32_t* count);

// The DevHandle of a direct-access device or a physical disk of the adapter:
// 0; 1 for an object of another adapter (or a device of another type); 48
// when the handle names neither.
LibStatus GetDiskDevHandle(LibContext* context, const LibHandle* adapter, const LibHandle* object,
                           uint16_t* devHandle);
LibStatus GetVolumeDevHandle(LibContext* context, const LibHandle* adapter, const LibHandle* volume,
                             uint16_t* devHandle);

// Called for a device record when volumes are deleted or hot spares created;
// nothing to do for a device record yet. 0.
LibStatus DeviceRecordHook(DeviceRecord* device);
