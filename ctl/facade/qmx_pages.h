// Public configuration-page access (part of the facade; include ctl/facade/qmx.h).
// Every read follows the buffer convention described in ctl/config_pages/config_pages.h:
// read kinds 0 size only, 1 current, 2 default, 3 NVRAM; 17 with the page
// size for a null buffer or a size of 0; the first *size bytes of a larger
// page, with *size set to the page size.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"
#include "ctl/config_pages/page_copy.h"

LibStatus ReadConfigPage(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                         uint8_t pageNumber, uint8_t extType, uint32_t readKind, void* buffer,
                         uint32_t* size);
LibStatus WriteConfigPage(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                          uint8_t pageNumber, uint8_t extType, uint32_t writeKind, const void* buffer,
                          uint32_t* size);
// The whole page into *copy (the size query, a zero-filled buffer of the
// size announced, the read; see PageCopy); 1 before the library is open.
LibStatus ReadConfigPageCopy(const LibHandle* adapter, uint32_t pageAddress, uint8_t pageType,
                             uint8_t pageNumber, uint8_t extType, uint32_t readKind, PageCopy* copy);

// Manufacturing pages (type 9), page address 0.
LibStatus ReadManufacturingPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage2(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage3(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage4(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage5(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage6(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage7(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadManufacturingPage(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                                uint8_t pageNumber);

// IO unit pages (type 0) and IOC pages (type 1), page address 0.
LibStatus ReadIoUnitPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIoUnitPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIoUnitPage3(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIoUnitPage7(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIocPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIocPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIocPage6(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIocPage7(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadIocPage8(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);

// BIOS pages (type 2), page address 0.
LibStatus ReadBiosPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadBiosPage2(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadBiosPage3(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadBiosPage4(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);

// RAID volume pages (type 8). With byHandle and a volume handle the page of
// that volume; with byHandle and no handle the volume whose DevHandle is
// *address; without byHandle *address as given (the volume after that
// DevHandle).
LibStatus ReadRaidVolumePage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                              uint32_t byHandle, const LibHandle* volume, const uint32_t* address);
LibStatus ReadRaidVolumePage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                              uint32_t byHandle, const LibHandle* volume, const uint32_t* address);

// RAID physical disk pages (type 10). With byHandle and a disk handle the
// page of that disk; otherwise the number as given when raw is set (the disk
// after that number), else the disk with that number.
LibStatus ReadPhysDiskPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                            uint32_t byHandle, const LibHandle* disk, uint32_t raw, uint32_t number);
LibStatus ReadPhysDiskPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                            uint32_t byHandle, const LibHandle* disk, uint32_t raw, uint32_t number);

// SAS IO unit pages (extended type 0x10), page address 0.
LibStatus ReadSasIoUnitPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadSasIoUnitPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadSasIoUnitPage4(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
LibStatus ReadSasIoUnitPage5(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);

// SAS expander pages (extended type 0x11). Page 0: with next the expander
// after the handle, else the expander with that handle. Page 1: one phy of
// the expander with that handle.
LibStatus ReadSasExpanderPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                               uint32_t next, uint16_t handle);
LibStatus ReadSasExpanderPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                               uint8_t phy, uint16_t handle);

// SAS device pages (extended type 0x12). Form 0: the device after the
// handle; form 2: the device with that handle; any other form answers 259.
LibStatus ReadSasDevicePage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                             uint32_t form, uint16_t handle);
LibStatus ReadSasDevicePage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                             uint32_t form, uint16_t handle);

// SAS phy pages (extended type 0x13): with byHandle the phy of that handle
// value, else the phy with that number.
LibStatus ReadSasPhyPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                          uint32_t byHandle, uint16_t value, uint8_t phy);
LibStatus ReadSasPhyPage1(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                          uint32_t byHandle, uint16_t value, uint8_t phy);

// Enclosure page 0 (extended type 0x15): with next the enclosure after the
// handle, else the enclosure with that handle.
LibStatus ReadEnclosurePage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind,
                             uint32_t next, uint16_t handle);
// Log page 0 (extended type 0x14), page address 0.
LibStatus ReadLogPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t readKind);
// RAID configuration page 0 (extended type 0x16): address 0 the next
// configuration, 0x20000000 the active one.
LibStatus ReadRaidConfigPage0(const LibHandle* adapter, void* buffer, uint32_t* size, uint32_t address,
                              uint32_t readKind);
