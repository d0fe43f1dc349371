// The RAID scan and the volume and physical-disk information it keeps.
#pragma once

#include <cstdint>

#include "ctl/context.h"
#include "ctl/raid_records.h"

// Builds the adapter's volumes, their member disks and its hot spares.
LibStatus ScanRaidConfig(LibContext* context, const LibHandle* adapter);
// A volume by handle, or the index-th volume of the adapter (byIndex).
LibStatus GetVolumeInfo(LibContext* context, const LibHandle* volume, uint32_t index,
                        const LibHandle* adapter, uint32_t byIndex, VolumeInfo* out, uint32_t* size);
// A physical disk by handle, or the index-th member of the volume (byIndex).
LibStatus GetPhysDiskInfo(LibContext* context, const LibHandle* disk, uint32_t memberIndex,
                          const LibHandle* volume, uint32_t byIndex, PhysDiskInfo* out, uint32_t* size);
