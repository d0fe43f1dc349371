// The device scan and the device information it keeps.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/devices/device_info.h"
#include "ctl/objects/object_records.h"

// Builds the adapter's device records from its SAS device pages (RAID
// members excluded) and, on a RAID-capable adapter, its usable volumes.
LibStatus ScanSasDevices(LibContext* context, const LibHandle* adapter);
// Fills the SCSI part of the device's block (SAS device page 0, INQUIRY,
// READ CAPACITY, VPD pages).
LibStatus IdentifyDevice(LibContext* context, DeviceRecord* device, AdapterRecord* adapter);
// The device with the handle, or the index-th device of the adapter;
// identifies it when that was not done yet and copies up to size bytes of
// its information block when a block is given.
LibStatus GetDeviceInfo(LibContext* context, uint32_t index, const LibHandle* adapter,
                        const LibHandle* device, DeviceInfoBlock* block, uint32_t size);
// Stores the start of /proc/scsi/scsi in the device's text field: 1 when the
// file cannot be examined, is a symbolic link or cannot be opened.
LibStatus ReadProcScsi(LibContext* context, DeviceRecord* device);
// The link power fields of a device's block.
LibStatus FillDevicePages2(LibContext* context, const LibHandle* adapter, DeviceRecord* device);

// Which object the link power fields are read for: a device counts them
// valid when SAS IO unit page 5 could be read, a physical disk unless the
// page is missing.
enum class LinkPowerOwner { kDevice, kPhysDisk };
// Fills the four link power fields of a 400-byte device part for the
// device with that DevHandle.
void FillLinkPowerFields(LibContext* context, const LibHandle* adapter, uint16_t devHandle, uint8_t* part,
                         LinkPowerOwner owner);
