// The device scan and the device information it keeps.
#pragma once

#include <cstdint>

#include "ctl/context.h"
#include "ctl/device_info.h"

// Builds the adapter's device records from its SAS device pages and its
// usable RAID volumes.
LibStatus ScanSasDevices(LibContext* context, const LibHandle* adapter);
// The device with the handle, or the index-th device of the adapter;
// identifies it when that was not done yet and copies up to size bytes of
// its information block when a block is given.
LibStatus GetDeviceInfo(LibContext* context, uint32_t index, const LibHandle* adapter,
                        const LibHandle* device, DeviceInfoBlock* block, uint32_t size);
