// A module's SMART attributes.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/smart_data.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"

uint32_t ReadSmartData(uint32_t vxHandle, uint32_t ssdHandle, SataSmartValues* values, uint8_t* data,
                       uint32_t forced) {
  if (values == nullptr) return 1;
  uint8_t sector[smart_data::kSize] = {};
  uint32_t operation = forced ? kSmartReadDataForced : kSmartReadData;
  if (SendSmartCommand(vxHandle, ssdHandle, operation, 0, sector, sizeof(sector)) != 0) return 1;
  for (uint32_t i = 0; i < kSmartAttributeCount; ++i) {
    const uint8_t* entry = sector + smart_data::kAttributes + i * smart_data::kEntrySize;
    values->attribute[i].id = entry[smart_data::kId];
    values->attribute[i].normalized = entry[smart_data::kNormalized];
    values->raw[i].low = GetLe32(entry, smart_data::kRawLow);
    values->raw[i].high = entry[smart_data::kRawHigh] | (entry[smart_data::kRawHigh + 1] << 8) |
                          (entry[smart_data::kRawHigh + 2] << 16);
  }
  if (data != nullptr) ZkCopy(data, sector, sizeof(sector));
  return 0;
}
