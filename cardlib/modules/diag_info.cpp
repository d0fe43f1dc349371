// The module's diagnostic information and diagnostic identify data.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/entry/os_wrappers.h"
#include "ctl/base/byte_order.h"

namespace {

// An SCT action without parameters, then its 512-byte data read into block.
uint32_t ReadActionSector(uint32_t vx, uint32_t ssd, uint16_t action, uint8_t* block) {
  uint8_t sector[sct_sector::kSize] = {};
  PutLe16(sector, sct_sector::kAction, action);
  PutLe16(sector, sct_sector::kFunction, 0);
  if (SctSendCommand(vx, ssd, sector, sizeof(sector)) != 0) return 1;
  ZkFill(block, 0, kDiagInfoSize);
  return SctReadData(vx, ssd, block, kDiagInfoSize);
}

}  // namespace

uint32_t LibZKSSDGetDiagInfo(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t size) {
  if (buffer == nullptr || size > kDiagInfoSize) return 1;
  DiagInfoBlock block;
  if (ReadActionSector(vxHandle, ssdHandle, sct_action::kDiagInfo, block.bytes) != 0) return 1;
  ZkCopy(buffer, block.bytes, size);
  return 0;
}

uint32_t ReadDiagIdentify(uint32_t vxHandle, uint32_t ssdHandle, void* buffer) {
  if (buffer == nullptr) return 1;
  uint8_t block[kDiagInfoSize];
  if (ReadActionSector(vxHandle, ssdHandle, sct_action::kDiagIdentify, block) != 0) return 1;
  ZkCopy(buffer, block, sizeof(block));
  return 0;
}
