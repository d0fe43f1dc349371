// The public page accessors: each names one page and its address form and
// reads it by the library's buffer convention.
#include "ctl/config_pages/config_pages.h"
#include "ctl/facade/facade_context.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/facade/qmx_pages.h"

namespace {

LibStatus ReadPage(const LibHandle* adapter, uint32_t address, uint8_t type, uint8_t number,
                   uint8_t extType, void* buffer, uint32_t* size, uint32_t readKind) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return ConfigPageReadCore(context, adapter, address, type, number, extType, readKind, buffer, size);
}

LibStatus ReadRaidVolumePage(uint8_t number, const LibHandle* adapter, void* buffer, uint32_t* size,
                             uint32_t readKind, uint32_t byHandle, const LibHandle* volume,
                             const uint32_t* address) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  uint32_t pageAddress = 0;
  if (byHandle && volume != nullptr) {
    VolumeRecord* v = nullptr;
    LibStatus status = FindVolume(context, volume, &v, nullptr);
    if (status != kLibOk) return status;
    pageAddress = kPageAddressForm1 | v->devHandle;
  } else {
    if (address == nullptr) return kLibBadParameter;
    pageAddress = byHandle ? (kPageAddressForm1 | *address) : *address;
  }
  return ReadPage(adapter, pageAddress, kPageTypeRaidVolume, number, 0, buffer, size, readKind);
}

LibStatus ReadPhysDiskPage(uint8_t number, const LibHandle* adapter, void* buffer, uint32_t* size,
                           uint32_t readKind, uint32_t byHandle, const LibHandle* disk, uint32_t raw,
                           uint32_t diskNumber) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  uint32_t pageAddress = 0;
  if (byHandle && disk != nullptr) {
    PhysDiskRecord* p = nullptr;
    LibStatus status = FindPhysDisk(context, disk, &p, nullptr, nullptr);
    if (status != kLibOk) return status;
    pageAddress = kPageAddressForm2 | PhysDiskDevHandle(p);
  } else {
    pageAddress = raw ? diskNumber : (kPageAddressForm1 | diskNumber);
  }
  return ReadPage(adapter, pageAddress, kPageTypeRaidPhysDisk, number, 0, buffer, size, readKind);
}

LibStatus ReadSasDevicePage(uint8_t number, const LibHandle* adapter, void* buffer, uint32_t* size,
                            uint32_t readKind, uint32_t form, uint16_t handle) {
  uint32_t pageAddress = 0;
  if (form == 0) {
    pageAddress = handle;
  } else if (form == 2) {
    pageAddress = kPageAddressForm2 | handle;
  } else {
    return kLibSasDeviceForm;
  }
  return ReadPage(adapter, pageAddress, kPageTypeExtended, number, kExtPageSasDevice, buffer, size, readKind);
}

LibStatus ReadSasPhyPage(uint8_t number, const LibHandle* adapter, void* buffer, uint32_t* size,
                         uint32_t readKind, uint32_t byHandle, uint16_t value, uint8_t phy) {
  uint32_t pageAddress = byHandle ? (kPageAddressForm1 | value) : phy;
  return ReadPage(adapter, pageAddress, kPageTypeExtended, number, kExtPageSasPhy, buffer, size, readKind);
}

}  // namespace

LibStatus ReadManufacturingPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 0, 0, b, s, k);
}
LibStatus ReadManufacturingPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 1, 0, b, s, k);
}
LibStatus ReadManufacturingPage2(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 2, 0, b, s, k);
}
LibStatus ReadManufacturingPage3(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 3, 0, b, s, k);
}
LibStatus ReadManufacturingPage4(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 4, 0, b, s, k);
}
LibStatus ReadManufacturingPage5(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 5, 0, b, s, k);
}
LibStatus ReadManufacturingPage6(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 6, 0, b, s, k);
}
LibStatus ReadManufacturingPage7(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeManufacturing, 7, 0, b, s, k);
}
LibStatus ReadManufacturingPage(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint8_t number) {
  return ReadPage(a, 0, kPageTypeManufacturing, number, 0, b, s, k);
}

LibStatus ReadIoUnitPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoUnit, 0, 0, b, s, k);
}
LibStatus ReadIoUnitPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoUnit, 1, 0, b, s, k);
}
LibStatus ReadIoUnitPage3(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoUnit, 3, 0, b, s, k);
}
LibStatus ReadIoUnitPage7(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoUnit, 7, 0, b, s, k);
}

LibStatus ReadIocPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoc, 0, 0, b, s, k);
}
LibStatus ReadIocPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoc, 1, 0, b, s, k);
}
LibStatus ReadIocPage6(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoc, 6, 0, b, s, k);
}
LibStatus ReadIocPage7(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoc, 7, 0, b, s, k);
}
LibStatus ReadIocPage8(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeIoc, 8, 0, b, s, k);
}

LibStatus ReadBiosPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeBios, 1, 0, b, s, k);
}
LibStatus ReadBiosPage2(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeBios, 2, 0, b, s, k);
}
LibStatus ReadBiosPage3(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeBios, 3, 0, b, s, k);
}
LibStatus ReadBiosPage4(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeBios, 4, 0, b, s, k);
}

LibStatus ReadRaidVolumePage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t byHandle,
                              const LibHandle* volume, const uint32_t* address) {
  return ReadRaidVolumePage(0, a, b, s, k, byHandle, volume, address);
}
LibStatus ReadRaidVolumePage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t byHandle,
                              const LibHandle* volume, const uint32_t* address) {
  return ReadRaidVolumePage(1, a, b, s, k, byHandle, volume, address);
}

LibStatus ReadPhysDiskPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t byHandle,
                            const LibHandle* disk, uint32_t raw, uint32_t number) {
  return ReadPhysDiskPage(0, a, b, s, k, byHandle, disk, raw, number);
}
LibStatus ReadPhysDiskPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t byHandle,
                            const LibHandle* disk, uint32_t raw, uint32_t number) {
  return ReadPhysDiskPage(1, a, b, s, k, byHandle, disk, raw, number);
}

LibStatus ReadSasIoUnitPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeExtended, 0, kExtPageSasIoUnit, b, s, k);
}
LibStatus ReadSasIoUnitPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeExtended, 1, kExtPageSasIoUnit, b, s, k);
}
LibStatus ReadSasIoUnitPage4(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeExtended, 4, kExtPageSasIoUnit, b, s, k);
}
LibStatus ReadSasIoUnitPage5(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeExtended, 5, kExtPageSasIoUnit, b, s, k);
}

LibStatus ReadSasExpanderPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t next,
                               uint16_t handle) {
  uint32_t address = next ? handle : (kPageAddressForm2 | handle);
  return ReadPage(a, address, kPageTypeExtended, 0, kExtPageSasExpander, b, s, k);
}
LibStatus ReadSasExpanderPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint8_t phy,
                               uint16_t handle) {
  uint32_t address = kPageAddressForm1 | (uint32_t{phy} << 16) | handle;
  return ReadPage(a, address, kPageTypeExtended, 1, kExtPageSasExpander, b, s, k);
}

LibStatus ReadSasDevicePage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t form,
                             uint16_t handle) {
  return ReadSasDevicePage(0, a, b, s, k, form, handle);
}
LibStatus ReadSasDevicePage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t form,
                             uint16_t handle) {
  return ReadSasDevicePage(1, a, b, s, k, form, handle);
}

LibStatus ReadSasPhyPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t byHandle,
                          uint16_t value, uint8_t phy) {
  return ReadSasPhyPage(0, a, b, s, k, byHandle, value, phy);
}
LibStatus ReadSasPhyPage1(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t byHandle,
                          uint16_t value, uint8_t phy) {
  return ReadSasPhyPage(1, a, b, s, k, byHandle, value, phy);
}

LibStatus ReadEnclosurePage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k, uint32_t next,
                             uint16_t handle) {
  uint32_t address = next ? handle : (kPageAddressForm1 | handle);
  return ReadPage(a, address, kPageTypeExtended, 0, kExtPageEnclosure, b, s, k);
}
LibStatus ReadLogPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t k) {
  return ReadPage(a, 0, kPageTypeExtended, 0, kExtPageLog, b, s, k);
}
LibStatus ReadRaidConfigPage0(const LibHandle* a, void* b, uint32_t* s, uint32_t address, uint32_t k) {
  return ReadPage(a, address, kPageTypeExtended, 0, kExtPageRaidConfig, b, s, k);
}
