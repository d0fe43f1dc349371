// Card (VX) and module (SSD) handles, the member table of a RAID volume and
// the physical-disk information of one volume member. Handles are passed by
// value; a module is either a device of its own (kind 0x02) or a member disk
// of the card's volume (kind 0x08).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/devices/device_info.h"
#include "ctl/base/lib_types.h"
#include "ctl/raid/raid_records.h"

// The SSD handle that stands for no module (a whole u32).
inline constexpr uint32_t kNoModuleHandle = 0x0000FFFF;
// Module slots of the card: 0 to 7.
inline constexpr uint32_t kCardModuleSlots = 8;

inline constexpr uint32_t kVolumeMemberTableSize = 400;

// A RAID volume of the card and its members, one per slot at most. The
// volume's member count bounds the two tables.
struct VolumeMemberTable {
  VolumeInfo volume;
  uint32_t memberSlot[kCardModuleSlots];    // slot 0-7 of member i
  uint32_t memberHandle[kCardModuleSlots];  // physical-disk handle (kind 0x08) of member i
};
static_assert(sizeof(VolumeMemberTable) == kVolumeMemberTableSize);
static_assert(offsetof(VolumeMemberTable, memberSlot) == 336);
static_assert(offsetof(VolumeMemberTable, memberHandle) == 368);

// The card's handle: the first word of the adapter's information block.
// 0, or 1 when the block cannot be read.
uint32_t LibZKGetVXHandle(uint32_t adapterIndex, uint32_t* vxHandle);
// The module in a slot: a bare module first, then an optimal volume member.
// 0 found, 1 not found or a read failed; *ssdHandle is kNoModuleHandle
// whenever no module was found.
uint32_t LibZKGetSSDHandle(uint32_t vxHandle, uint32_t moduleIndex, uint32_t* ssdHandle);
// LibZKGetSSDHandle telling a slot without a module from one whose lookup
// could not be made (a request failed): a command that writes to every
// module must not take the second for the first.
enum : uint32_t {
  kModuleFound = 0,
  kModuleLookupFailed = 1,
  kModuleNotThere = 2,
};
uint32_t LibZKFindSSDHandle(uint32_t vxHandle, uint32_t moduleIndex, uint32_t* ssdHandle);
// Fills the volume with that index and the slot and handle of each member.
// 1 when the volume or any member cannot be read, or when the volume
// claims more members than the card has slots (the first 8 are filled).
uint32_t GetVolumeMemberTable(uint32_t vxHandle, uint32_t volumeIndex, VolumeMemberTable* table);
// QmxGetMemberDiskInfo (by handle, or with byIndex the memberIndex-th member
// of the volume); an offline member, whose disk page no longer names its
// slot, takes the slot from RAID physical-disk page 1. min(*size, 616)
// bytes are copied. 0 or 1.
uint32_t GetModuleDiskInfo(const LibHandle* adapter, const LibHandle* disk, uint32_t memberIndex,
                           const LibHandle* volume, uint32_t byIndex, PhysDiskInfo* info, uint32_t* size);
// The information block of the deviceIndex-th device of the adapter. 0 or 1.
uint32_t GetDeviceRecordByIndex(uint32_t adapterIndex, uint32_t deviceIndex, DeviceInfoBlock* record);
