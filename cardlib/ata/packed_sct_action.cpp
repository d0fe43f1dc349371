// SCT action 0xC003 with its parameters packed into the command sector.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/modules/module_commands.h"
#include "ctl/base/byte_order.h"

uint32_t SendPackedSctAction(uint32_t vxHandle, uint32_t ssdHandle, const PackedSctParameters* parameters) {
  if (parameters == nullptr) return 1;
  const uint32_t* f = parameters->field;
  uint8_t sector[sct_sector::kSize] = {};
  PutLe16(sector, sct_sector::kAction, sct_action::kPackedParameters);
  PutLe16(sector, sct_packed::kField0, static_cast<uint16_t>(f[0]));
  PutLe32(sector, sct_packed::kField2, f[2]);
  PutLe32(sector, sct_packed::kField1, f[1]);
  PutLe32(sector, sct_packed::kField3, f[3]);
  PutLe32(sector, sct_packed::kField4, f[4]);
  PutLe16(sector, sct_packed::kField5Low, static_cast<uint16_t>(f[5]));
  PutLe16(sector, sct_packed::kField5High, static_cast<uint16_t>(f[5] >> 16));
  PutLe16(sector, sct_packed::kField6High, static_cast<uint16_t>(f[6] >> 16));
  PutLe16(sector, sct_packed::kField7, static_cast<uint16_t>(f[7]));
  return SctSendCommand(vxHandle, ssdHandle, sector, sizeof(sector));
}
