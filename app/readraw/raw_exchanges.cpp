// The three raw-flash exchanges with an unlocked module: the page address
// conversion, the block check through the PE and mapping tables, and the
// raw page read.
#include <vector>

#include "app/readraw/raw_page_address.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

struct CommandSector {
  uint8_t bytes[sct_sector::kSize] = {};
  CommandSector(uint16_t action, uint16_t function) {
    PutLe16(bytes, sct_sector::kAction, action);
    PutLe16(bytes, sct_sector::kFunction, function);
  }
};

CommandSector BlockTablesSector(uint16_t function, uint16_t rblock) {
  CommandSector sector(raw_page::kBlockTablesAction, function);
  Put8(sector.bytes, raw_page::kBlockLow, static_cast<uint8_t>(rblock));
  Put8(sector.bytes, raw_page::kBlockHigh, static_cast<uint8_t>(rblock >> 8 & 0x7));
  return sector;
}

}  // namespace

uint32_t ConvertPhysicalPage(uint32_t vxHandle, uint32_t ssdHandle, uint32_t low, uint32_t high,
                             RawPageAddress* address) {
  CommandSector sector(raw_page::kConversionAction, 0);
  PutLe32(sector.bytes, raw_page::kAddressLow, low);
  PutLe32(sector.bytes, raw_page::kAddressHigh, high);
  uint32_t status = SctSendCommand(vxHandle, ssdHandle, sector.bytes, sizeof sector.bytes);
  if (status != 0) {
    ConsolePrint("CONVERSION - Smart Send Command Status FAILED\n");
    return status;
  }
  std::vector<uint8_t> reply(raw_page::kConversionBytes, 0);
  status = SctReadData(vxHandle, ssdHandle, reply.data(), raw_page::kConversionBytes);
  if (status != 0) {
    ConsolePrint("CONVERSION - Smart Read Command Status FAILED\n");
    return status;
  }
  MemCopy(address->bytes, reply.data(), kRawPageAddressSize);
  return 0;
}

uint32_t getBlockInfo(uint32_t vxHandle, uint32_t ssdHandle, RawPageAddress* address, uint32_t* code) {
  const uint16_t rblock = RBlockOf(*address);
  CommandSector pe = BlockTablesSector(raw_page::kPeTableFunction, rblock);
  if (SctSendCommand(vxHandle, ssdHandle, pe.bytes, sizeof pe.bytes) != 0) {
    ConsolePrint("Smart Send Read R-BLOCK PE Table FAILED\n");
    return 1;
  }
  std::vector<uint8_t> peTable(raw_page::kPeTableBytes, 0);
  if (SctReadData(vxHandle, ssdHandle, peTable.data(), raw_page::kPeTableBytes) != 0) {
    ConsolePrint("Smart Read R-BLOCK PE Table FAILED\n");
    return 1;
  }
  PeTableVerdict verdict = JudgePeTable(peTable.data());
  *code = verdict.code;
  if (!verdict.readMapping) return 0;

  CommandSector mapping = BlockTablesSector(raw_page::kMappingTableFunction, rblock);
  uint32_t status = SctSendCommand(vxHandle, ssdHandle, mapping.bytes, sizeof mapping.bytes);
  if (status != 0) {
    ConsolePrint("Send Read R-BLOCK Mapping Table command FAILED\n");
    *code = kBlockInvalid;
    return status;
  }
  std::vector<uint8_t> table(raw_page::kMappingTableBytes, 0);
  status = SctReadData(vxHandle, ssdHandle, table.data(), raw_page::kMappingTableBytes);
  if (status != 0) {
    ConsolePrint("Read R-BLOCK Mapping Table FAILED\n");
    *code = kBlockInvalid;
    return status;
  }
  // An entry that names no block a module has cannot be followed: the read
  // would go to some other block.
  if (!FollowMappingTable(address, table.data(), table.size())) {
    ConsolePrint("Read R-BLOCK Mapping Table FAILED\n");
    *code = kBlockInvalid;
    return 1;
  }
  *code = kBlockUser;
  return 0;
}

uint32_t readRawPhysical(uint32_t vxHandle, uint32_t ssdHandle, const RawPageAddress& address, uint8_t* buffer,
                         uint16_t pageSize) {
  CommandSector sector(raw_page::kRawReadAction, raw_page::kRawReadFunction);
  MemCopy(sector.bytes + raw_page::kReadFields, address.bytes + raw_address::kFields, raw_address::kFieldBytes);
  uint32_t status = SctSendCommand(vxHandle, ssdHandle, sector.bytes, sizeof sector.bytes);
  if (status != 0) {
    ConsolePrint("Smart Send Command Status FAILED\n");
    return status;
  }
  MemSet(buffer, 0, pageSize);
  status = SctReadData(vxHandle, ssdHandle, buffer, pageSize);
  if (status != 0) {
    ConsolePrint("Smart Read Command Status FAILED\n");
    return status;
  }
  return 0;
}
