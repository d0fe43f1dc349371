// The public face of the controller message library: flat functions bound
// to the one library-wide context. Handles are passed by pointer (a null
// pointer is a bad handle); results are LibStatus codes (ctl/base/lib_status.h).
// QmxLibOpen must run first and QmxDiscoverAdapters once after it; until
// the library is open every function answers 1 (QmxGetLastStatus: 0).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/devices/device_info.h"
#include "ctl/devices/device_requests.h"
#include "ctl/ioc/ioc_records.h"
#include "ctl/base/lib_types.h"
#include "ctl/facade/qmx_events.h"
#include "ctl/facade/qmx_pages.h"
#include "ctl/raid/raid_records.h"

// Life cycle and discovery.
LibStatus QmxLibOpen();
LibStatus QmxLibClose();   // the context stays: nothing is released
void QmxLibTerm();
// 1 for a null record; 0 without writing for a size below 8; else the
// version 16.8.6 in major, minor and build.
LibStatus QmxGetLibVersion(QmxLibVersion* version);
// Runs discovery once with the flags (bit 31 filter on, bit 29 the card
// family, bit 0 no device scan, bit 2 no RAID scan); *count gets the number
// of adapters kept.
LibStatus QmxDiscoverAdapters(uint32_t* count, uint32_t flags);
// Rebuilds the adapter's devices, volumes and disks (with new handles).
LibStatus QmxRefreshAdapter(const LibHandle* adapter);
// The index-th adapter (adapter null; 50 past the end) or the adapter with
// the handle; the whole block is copied when one is given.
LibStatus QmxGetAdapterInfo(uint32_t index, const LibHandle* adapter, AdapterInfoBlock* info, uint32_t* size);
LibStatus QmxGetDeviceCount(const LibHandle* adapter, uint32_t* count);
// The device with the handle (device not null) or the index-th device of the
// adapter (48 past the end), identified first when that was not done yet;
// min(*size, 936) bytes of its block are copied when a block is given.
LibStatus QmxGetDeviceInfo(uint32_t index, const LibHandle* adapter, const LibHandle* device,
                           DeviceInfoBlock* info, uint32_t* size);
LibStatus QmxBusTargetToDevHandle(const LibHandle* adapter, uint16_t* devHandle, uint32_t bus, uint32_t target);
// On failure both outputs are 0xFFFFFFFF.
LibStatus QmxDevHandleToBusTarget(const LibHandle* adapter, const uint16_t* devHandle, uint32_t* bus,
                                  uint32_t* target);
LibStatus QmxCountVolumes(const LibHandle* adapter, uint32_t* count);
LibStatus QmxCountHotSpares(const LibHandle* adapter, uint32_t* count);
LibStatus QmxCountMemberDisks(const LibHandle* volume, uint32_t* count);
// The volume with the handle, or with byIndex the index-th volume of the
// adapter (1 past the end); min(*size, 336) bytes are copied, *size stays.
LibStatus QmxGetVolumeInfo(const LibHandle* volume, uint32_t index, const LibHandle* adapter, uint32_t byIndex,
                           VolumeInfo* info, uint32_t* size);
// The disk with the handle, or with byIndex the disk of the memberIndex-th
// member entry of the volume's RAID volume page 0 (1 when no member object
// has its disk number); min(*size, 616) bytes are copied.
LibStatus QmxGetMemberDiskInfo(const LibHandle* disk, uint32_t memberIndex, const LibHandle* volume,
                               uint32_t byIndex, PhysDiskInfo* info, uint32_t* size);
// With byIndex the index-th hot spare of the adapter; an index not below the
// hot-spare count answers 1 and copies nothing. Otherwise the disk with the
// handle.
LibStatus QmxGetHotSpareInfo(const LibHandle* disk, uint32_t index, const LibHandle* adapter, uint32_t byIndex,
                             PhysDiskInfo* info, uint32_t* size);
// The status the most recent request left behind.
LibStatus QmxGetLastStatus(IocStatusInfo* status);

// Requests.
LibStatus QmxIssueRequest(QmxRequestBlock* block);
LibStatus QmxResetAdapter(const LibHandle* adapter);
LibStatus QmxResetAdapterAlt(const LibHandle* adapter, uint32_t argument1, uint32_t argument2);
// A SCSI command to a device (kind 0x02) or a physical disk (kind 0x08).
LibStatus QmxScsiPassthrough(const LibHandle* object, ScsiPassthroughRequest* request);
LibStatus QmxGetIocFacts(const LibHandle* adapter, void* reply, uint32_t* size, IocStatusInfo* status);
LibStatus QmxGetPortFacts(const LibHandle* adapter, uint8_t port, void* reply, uint32_t* size,
                          IocStatusInfo* status);
LibStatus QmxFirmwareDownload(const LibHandle* adapter, const void* piece, uint32_t size, uint32_t offset,
                              uint8_t imageType, uint32_t last, void* reply, uint32_t* replySize,
                              IocStatusInfo* status);
LibStatus QmxFirmwareUpload(const LibHandle* adapter, void* piece, uint32_t size, uint32_t offset,
                            uint8_t imageType, void* reply, uint32_t* replySize, IocStatusInfo* status);
LibStatus QmxToolboxClean(const LibHandle* adapter, uint32_t flags, void* reply, IocStatusInfo* status);
LibStatus QmxToolboxIstwi(const LibHandle* adapter, IstwiRecord* record, void* reply);
LibStatus QmxDiagBufferRegister(const LibHandle* adapter, uint8_t bufferType, uint8_t secondType, uint32_t size,
                                uint32_t diagFlags, const uint8_t* productData);
LibStatus QmxDiagBufferQuery(const LibHandle* adapter, uint8_t bufferType, uint16_t* appFlags,
                             uint32_t* totalSize);
LibStatus QmxDiagBufferUnregister(const LibHandle* adapter, uint8_t bufferType);
LibStatus QmxDiagBufferRelease(const LibHandle* adapter, uint8_t bufferType);
LibStatus QmxDiagBufferRead(const LibHandle* adapter, uint8_t bufferType, uint32_t* length, void* buffer);
// One ATA command to a device or physical disk (SataPassthroughRequest).
LibStatus QmxSataPassthrough(const LibHandle* adapter, SataPassthroughRequest* request);
// One SMP frame to the SMP target with the record's SAS address.
LibStatus QmxSmpPassthrough(const LibHandle* adapter, SmpPassthroughRequest* request);
// Switches the locate (identify) indication of the enclosure slot of a
// device or physical disk on (non-zero) or off.
LibStatus QmxLocateDevice(const LibHandle* object, uint32_t on);
// One SAS IO unit control operation; device (may be null) for the device
// operations, phy for the phy operations; the status quad when given.
LibStatus QmxSasIoUnitControl(const LibHandle* adapter, const LibHandle* device, uint8_t operation, uint8_t phy,
                              IocStatusInfo* status);
// One task-management function for the device with the handle, or (device
// null) the device at bus 0, target and LUN. Outputs may be null.
LibStatus QmxTaskManagement(const LibHandle* adapter, uint32_t target, uint8_t lun, const LibHandle* device,
                            uint8_t taskType, uint8_t msgFlags, uint8_t* responseCode, uint32_t* terminationCount,
                            IocStatusInfo* status);

// RAID. Handles name a volume, a physical disk or the adapter as the action
// needs; 80 for an unknown action, 770 when the controller refused one.
LibStatus QmxRaidActionRequest(const LibHandle* handle, uint8_t action);
// The same with an action data word, the address of a buffer sent with the
// action (dataOut, *dataOutLength bytes; 0 for none) and the address of 24
// bytes that receive the returned action data (0 for none).
LibStatus QmxRaidAction(const LibHandle* handle, uint8_t action, uint32_t actionDataWord, uint64_t dataOut,
                        uint64_t actionData, uint32_t* dataOutLength);
// Checks (commit 0) or creates (commit 1) the volume the request describes;
// *newVolume gets the new volume's handle.
LibStatus QmxCreateVolume(const LibHandle* adapter, LibHandle* newVolume, CreateVolumeRequest* request);
LibStatus QmxDeleteVolume(const LibHandle* volume, uint32_t option);
LibStatus QmxCreateHotSpare(const LibHandle* device, ConfigProblemList* problems, uint32_t commit);
LibStatus QmxDeleteHotSpare(const LibHandle* disk);
// The 104 bytes of RAID settings (VolumeInfo offsets 232-335) into out.
LibStatus QmxGetVolumeRaidSettings(const LibHandle* volume, void* out, uint32_t size);
LibStatus QmxStartRaidFunction(const LibHandle* volume, uint32_t function, uint32_t mode, const void* data,
                               const uint32_t* length);
LibStatus QmxStopRaidFunction(const LibHandle* volume, uint32_t function, uint32_t mode);
LibStatus QmxActivateVolume(const LibHandle* volume);
LibStatus QmxRaidCompatibilityCheck(const LibHandle* adapter, const RaidCompatibilityQuery* query,
                                    RaidCompatibilityResult* result);

// The option-ROM version of the adapter's BIOS image, read by uploading it.
LibStatus QmxReadRomVersion(const LibHandle* adapter, uint32_t* version);
// The version of an option-ROM image in memory (0: no x86 image first).
uint32_t QmxRomImageVersion(const uint8_t* image, size_t length);

// Link power management of one object or of every object of an adapter.
LibStatus QmxSetPartialPowerSettings(const LibHandle* adapter, uint32_t oneObject, const LibHandle* object,
                                     uint8_t timeout, uint32_t exponent, uint32_t disable);
LibStatus QmxSetSlumberPowerSettings(const LibHandle* adapter, uint32_t oneObject, const LibHandle* object,
                                     uint8_t timeout, uint32_t exponent, uint32_t disable);

// Prints a debug line when the level shares a bit with the library's debug
// mask (which starts at 0: the library is silent).
void QmxLibDebugPrint(uint32_t level, const char* format, ...) __attribute__((format(printf, 2, 3)));
