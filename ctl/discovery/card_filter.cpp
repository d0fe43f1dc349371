// In card-only mode a CHIPAB controller stays only when its manufacturing
// page 0 (NVRAM copy) names the card's chip.
#include <cstring>

#include "ctl/discovery/discovery.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/manufacturing_pages.h"

LibStatus FilterCardAdapters(LibContext* context) {
  LibStatus status = kLibOk;
  for (AdapterRecord* a = context->adapterList; a != nullptr;) {
    AdapterRecord* next = a->next;
    LibHandle handle = a->header.handle;
    PageCopy page(context);
    status = page.Read(&handle, 0, kPageTypeManufacturing, 0, 0, kReadNvram);
    if (status == kLibNoMemory) return status;
    if (status == kLibOk && a->deviceId == kChipAbDeviceId) {
      // A page too short to hold the prefix does not name the card's chip.
      bool cardChip = page.Holds(manufacturing_page0::kChipName, manufacturing_page0::kCardChipPrefixSize) &&
                      std::memcmp(page.data() + manufacturing_page0::kChipName,
                                  manufacturing_page0::kCardChipPrefix,
                                  manufacturing_page0::kCardChipPrefixSize) == 0;
      if (!cardChip) status = RemoveAdapterRecord(context, handle);
    }
    a = next;
  }
  return status;
}
