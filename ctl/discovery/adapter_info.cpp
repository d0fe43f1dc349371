#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/discovery/discovery.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/frames/ioc_info_block.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/io_unit_pages.h"

void FillIoUnitInfo(LibContext* context, AdapterRecord* adapter) {
  LibHandle handle = adapter->header.handle;
  PageCopy page(context);
  if (page.Read(&handle, 0, kPageTypeIoUnit, io_unit_page7::kNumber, 0, kReadCurrent) != kLibOk) return;
  // A short page gives only the fields it holds.
  const uint8_t* p = page.data();
  AdapterInfoBlock* info = &adapter->info;
  if (page.Holds(io_unit_page7::kPcieLinkWidth, 1)) info->pcieLinkWidth = Get8(p, io_unit_page7::kPcieLinkWidth);
  if (page.Holds(io_unit_page7::kPcieLinkSpeed, 1)) info->pcieLinkSpeed = Get8(p, io_unit_page7::kPcieLinkSpeed);
  if (page.Holds(io_unit_page7::kProcessorState, 4)) {
    info->processorState = GetLe32(p, io_unit_page7::kProcessorState);
  }
  if (page.Holds(io_unit_page7::kIocTemperature, 2)) {
    info->iocTemperature = GetLe16(p, io_unit_page7::kIocTemperature);
  }
  if (page.Holds(io_unit_page7::kTemperatureUnits, 1)) {
    info->temperatureUnits = Get8(p, io_unit_page7::kTemperatureUnits);
  }
  if (page.Holds(io_unit_page7::kIocSpeed, 1)) info->iocSpeed = Get8(p, io_unit_page7::kIocSpeed);
}

LibStatus GetAdapterInfo(LibContext* context, uint32_t index, const LibHandle* adapter,
                         AdapterInfoBlock* block, uint32_t) {
  AdapterRecord* record = nullptr;
  LibStatus status = kLibOk;
  if (adapter == nullptr) {
    if (index >= context->adapterCount) return kLibAdapterIndexRange;
    AdapterRecord* a = context->adapterList;
    for (uint32_t i = 0; i < index && a != nullptr; ++i) a = a->next;
    if (a == nullptr) return kLibAdapterIndexRange;
    LibHandle handle = a->header.handle;
    status = FindAdapter(context, &handle, &record);
  } else {
    status = FindAdapter(context, adapter, &record);
  }
  if (status != kLibOk) return status;

  if (!record->infoValid) {
    // IOC FACTS failed at discovery: ask the driver about the adapter again.
    AdapterInfoBlock* info = &record->info;
    info->adapterHandle = record->header.handle;
    uint8_t iocInformation[ioc_info_block::kSize] = {};
    PutLe32(iocInformation, ioc_info_block::kIocNumber, IocNumber(record));
    PutLe32(iocInformation, ioc_info_block::kMaxDataSize, ioc_info_block::kSize);
    LibHandle handle = record->header.handle;
    if (AdapterIoctl(context, &handle, iocInformation, kIoctlIocInfo) == kLibOk) {
      CopyIocInformation(info, iocInformation);
      uint32_t raidCapable = 0;
      IsRaidCapable(context, &handle, &raidCapable);
      record->raidCapable = raidCapable;
      info->raidCapable = raidCapable;
      record->infoValid = 1;
    }
    FillIoUnitInfo(context, record);
  }
  if (block != nullptr) std::memcpy(block, &record->info, sizeof(AdapterInfoBlock));
  return kLibOk;
}
