// Adapter discovery: the driver's control nodes, the device-ID filter, the
// chip names, and what discovery does for each adapter it keeps.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"

inline constexpr uint32_t kControlNodeCount = 4;
inline constexpr uint32_t kLastIocNumber = 254;
// PCI device IDs of the chips: the card's, CHIPAB, the QVSA chips, and the
// ranges of CHIPCA/CHIPCB and of the second generation (CHIPEA, CHIPDA, CHIPDB).
inline constexpr uint16_t kCardDeviceId = 0x7E;
inline constexpr uint16_t kChipAbDeviceId = 0x72;
inline constexpr uint16_t kChipFaDeviceId = 0x45;
inline constexpr uint16_t kChipFbDeviceId = 0x47;
inline constexpr uint16_t kChipCaFirst = 0x80;
inline constexpr uint16_t kChipCaLast = 0x87;
inline constexpr uint16_t kSecondGenerationFirst = 0x90;
inline constexpr uint16_t kSecondGenerationLast = 0x97;

// The control node of the given index (0-3, in search order).
const char* ControlNodePath(uint32_t index);
// Whether the node of that index is searched with these discovery flags.
bool ControlNodeSearched(uint32_t index, uint32_t flags);
// Whether an adapter with that PCI device ID is kept (with the filter on).
bool PassesDeviceIdFilter(uint32_t flags, uint32_t deviceId);
// The chip name of a PCI device ID; "Unknown" for IDs not in the table.
const char* ChipName(uint32_t deviceId);
// Second-generation chips use the second-generation frames.
bool IsSecondGenerationChip(uint32_t deviceId);
// The first-generation chips of the QMX2 family (CHIPAB, which also serves
// the card family, not among them).
bool IsQmx2FamilyChip(uint32_t deviceId);

// Builds the adapter list once per context (the context's flag word set).
LibStatus DiscoverAdapters(LibContext* context);
// Drops CHIPAB controllers that are not the card's.
LibStatus FilterCardAdapters(LibContext* context);
// Device scan, RAID scan and the removal of RAID member devices.
LibStatus RefreshAdapter(LibContext* context, const LibHandle* adapter);
// Drops the adapter's devices, volumes and physical disks and builds them
// again (with new handles): ClearAdapterObjects, then RefreshAdapter.
LibStatus RefreshAdapterObjects(LibContext* context, const LibHandle* adapter);
// The index-th adapter (without a handle) or the adapter with that handle.
LibStatus GetAdapterInfo(LibContext* context, uint32_t index, const LibHandle* adapter,
                         AdapterInfoBlock* block, uint32_t size);
// The flag is 1 when the adapter offers integrated RAID; 96 for a message
// version below 0x0200.
LibStatus IsRaidCapable(LibContext* context, const LibHandle* adapter, uint32_t* flag);
// Copies the IOC information block's fields into the adapter's block (all
// but the firmware version, which only discovery takes).
void CopyIocInformation(AdapterInfoBlock* info, const uint8_t* iocInformation);
// Fills the IO unit page 7 fields of the adapter's information block.
void FillIoUnitInfo(LibContext* context, AdapterRecord* adapter);
