// Sending one row of the ATA command table to a module.
#include "cardlib/ata/ata_passthrough.h"
#include "cardlib/ata/ata_request.h"
#include "cardlib/layouts/register_fis.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/entry/os_wrappers.h"
#include "cardlib/entry/zk_buffer.h"

namespace {

constexpr uint32_t kModuleAtaTimeoutSeconds = 100;

void PutRowCommand(SataPassthroughRequest* request, const AtaCommandRow& row) {
  request->commandFis[h2d_fis::kCommand] = row.command;
  request->commandFis[h2d_fis::kFeatures] = row.features;
}

}  // namespace

uint32_t SendSSDAtaCommand(uint32_t vxHandle, uint32_t ssdHandle, void* buffer, uint32_t length, uint32_t row) {
  if (row >= kAtaCommandRows) return 1;
  const AtaCommandRow& command = AtaCommandTable[row];
  SataPassthroughRequest request;
  PrepareAtaRequest(&request, ssdHandle, kModuleAtaTimeoutSeconds);
  PutRowCommand(&request, command);
  if (command.direction != kAtaNoData) {
    // The 8-bit count must say exactly what the data phase moves.
    uint32_t sectors = length / kAtaSectorSize;
    if (buffer == nullptr || length % kAtaSectorSize != 0 || sectors == 0 || sectors > ata::kMaxCount8) return 1;
    if (command.direction == kAtaDataIn) SetAtaDataIn(&request, buffer, length);
    else SetAtaDataOut(&request, buffer, length);
    request.commandFis[h2d_fis::kCount] = static_cast<uint8_t>(sectors);
  }
  return SendAtaRequest(vxHandle, &request, nullptr);
}

uint32_t SendSSDAtaData(uint32_t vxHandle, uint32_t ssdHandle, const void* data, uint32_t length, uint32_t row) {
  if (row >= kAtaCommandRows || AtaCommandTable[row].direction != kAtaDataOut) return 1;
  if (data == nullptr || length == 0) return 1;
  uint64_t sectors = (static_cast<uint64_t>(length) + kAtaSectorSize - 1) / kAtaSectorSize;
  if (sectors > ata::kMaxCount16) return 1;
  uint32_t padded = static_cast<uint32_t>(sectors) * kAtaSectorSize;
  ZkBuffer block(padded);
  uint8_t* buffer = block.get();
  if (buffer == nullptr) return 1;
  ZkCopy(buffer, data, length);

  SataPassthroughRequest request;
  PrepareAtaRequest(&request, ssdHandle, kModuleAtaTimeoutSeconds);
  PutRowCommand(&request, AtaCommandTable[row]);
  SetAtaDataOut(&request, buffer, padded);
  // DOWNLOAD MICROCODE: the block count's low byte in the count, its high
  // byte in LBA low; the buffer offset (LBA mid and high) is 0.
  request.commandFis[h2d_fis::kCount] = static_cast<uint8_t>(sectors);
  request.commandFis[h2d_fis::kLbaLow] = static_cast<uint8_t>(sectors >> 8);
  return SendAtaRequest(vxHandle, &request, nullptr);
}
