#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/discovery/discovery.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/pages/io_unit_pages.h"
#include "ctl/base/request_helpers.h"

LibStatus IsRaidCapable(LibContext* context, const LibHandle* adapter, uint32_t* flag) {
  if (flag != nullptr) *flag = 0;
  AdapterRecord* record = nullptr;
  LibStatus status = CheckMessageVersion(context, adapter, &record);
  if (status != kLibOk) return status;
  uint32_t capabilities = GetLe32(record->iocFacts, ioc_facts_reply::kIocCapabilities);
  if (!(capabilities & ioc_facts_reply::kCapabilityIntegratedRaid)) return kLibOk;
  uint8_t page[io_unit_page1::kReadSize] = {};
  uint32_t size = sizeof(page);
  status = ConfigPageReadCore(context, adapter, 0, kPageTypeIoUnit, 1, 0, kReadCurrent, page, &size);
  if (status != kLibOk) return status;
  // A page too short to hold the flags word leaves the zeros in place: the
  // integrated RAID is then not marked disabled.
  uint32_t flags = GetLe32(page, io_unit_page1::kFlags);
  if (!(flags & io_unit_page1::kFlagIntegratedRaidDisabled) && flag != nullptr) *flag = 1;
  return kLibOk;
}
