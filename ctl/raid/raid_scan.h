// The RAID scan and the volume and physical-disk information it keeps.
// Records are built in a local copy and copied to the caller at the end, so
// a failed call leaves the caller's buffer untouched.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"
#include "ctl/raid/raid_records.h"

// Builds the adapter's volumes, their member disks and its hot spares.
LibStatus ScanRaidConfig(LibContext* context, const LibHandle* adapter);

// A volume by handle, or the index-th volume of the adapter (byIndex; 1
// past the end); copies min(*size, 336) bytes.
LibStatus GetVolumeInfo(LibContext* context, const LibHandle* volume, uint32_t index,
                        const LibHandle* adapter, uint32_t byIndex, VolumeInfo* out, uint32_t* size);
// The 224-byte summary of a volume (17 when size < 224).
LibStatus BuildVolumeSummary(LibContext* context, const LibHandle* volume, uint8_t* out, uint32_t size);
// The 104-byte RAID settings of a volume: state, status booleans and the
// progress the controller reports (RAID ACTION 1).
LibStatus GetVolumeRaidSettings(LibContext* context, const LibHandle* volume, uint8_t* out, uint32_t size);

// A physical disk by handle, or the disk of the index-th member entry of the
// volume's RAID volume page 0 (byIndex; 1 when no member object carries
// that disk number); copies min(*size, 616) bytes.
LibStatus GetPhysDiskInfo(LibContext* context, const LibHandle* disk, uint32_t memberIndex,
                          const LibHandle* volume, uint32_t byIndex, PhysDiskInfo* out, uint32_t* size);
// The 160-byte RAID summary of a disk number (17 when size < 160).
LibStatus ReadDiskRaidSummary(LibContext* context, const LibHandle* adapter, uint8_t number, uint8_t* out,
                              uint32_t size);
// The 44-byte RAID status of a disk number (17 when size < 44).
LibStatus ReadDiskRaidStatus(LibContext* context, const LibHandle* adapter, uint8_t number, uint8_t* out,
                             uint32_t size);
// The 400-byte device part of a disk whose record (handle, RAID summary and
// status) is already filled (17 when size < 400).
LibStatus ReadDiskDevicePart(LibContext* context, uint8_t* out, const PhysDiskInfo* record, uint32_t size);
// The link power fields of a physical disk's record.
LibStatus FillDevicePages(LibContext* context, const LibHandle* adapter, PhysDiskInfo* record);

// The index-th hot spare of the adapter (1 when the index is not below the
// count), then its information by handle.
LibStatus GetHotSpareInfo(LibContext* context, uint32_t index, const LibHandle* adapter, PhysDiskInfo* out,
                          uint32_t* size);
