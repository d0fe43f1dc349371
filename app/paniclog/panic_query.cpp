// The panic slot query and its two printed forms.
#include <vector>

#include "app/paniclog/panic_log.h"
#include "app/paniclog/panic_log_layouts.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

namespace h = panic_slot_header;

void PrintTable(const uint8_t* headers) {
  ConsolePrint("Panic Slot     Valid     CRC     DumpSize\n");
  ConsolePrint("----------     -----     ---     --------\n");
  for (uint32_t slot = 0; slot < panic_log::kSlotCount; ++slot) {
    const uint8_t* header = headers + slot * h::kSize;
    ConsolePrint("%10d     %5d     %3d     %5d\n", static_cast<int>(slot), static_cast<int>(GetLe16(header, h::kValid)),
                 static_cast<int>(GetLe16(header, h::kCrc)), static_cast<int>(GetLe32(header, h::kDataSize)));
  }
}

void PrintDetail(const uint8_t* headers) {
  for (uint32_t slot = 0; slot < panic_log::kSlotCount; ++slot) {
    const uint8_t* header = headers + slot * h::kSize;
    ConsolePrint(" ---------- Panic Slot  %d ------------ \n", static_cast<int>(slot));
    ConsolePrint("HeaderPrefix  0x%x : 0x%x \n", GetLe32(header, h::kPrefix + 4), GetLe32(header, h::kPrefix));
    ConsolePrint("TransactionNumber %x \n", GetLe32(header, h::kTransaction));
    ConsolePrint("SyncCode %x \n", GetLe32(header, h::kSyncCode));
    ConsolePrint("Unlock Level %x \n", GetLe32(header, h::kUnlockLevel));
    ConsolePrint("Header size 0x%x \n", GetLe32(header, h::kHeaderSize));
    ConsolePrint("Data size 0x%x \n", GetLe32(header, h::kDataSize));
    ConsolePrint("ePageAddress 0x%x \n", GetLe32(header, h::kEPageAddress));
    ConsolePrint("Valid %x\n", static_cast<unsigned>(GetLe16(header, h::kValid)));
    ConsolePrint("CRC %x \n", static_cast<unsigned>(GetLe16(header, h::kCrc)));
    ConsolePrint("\n\n");
  }
}

}  // namespace

uint32_t QueryPanicSlots(uint32_t vxHandle, uint32_t ssdHandle, uint8_t parameter, uint32_t detail, uint8_t* out,
                         uint32_t copyLength, bool print) {
  // The query goes out as a command block of two sectors, the second zero.
  uint8_t sector[panic_log::kQueryCommandBytes] = {};
  PutLe16(sector, sct_sector::kAction, panic_log::kAction);
  PutLe16(sector, sct_sector::kFunction, panic_log::kFunctionQuery);
  Put8(sector, panic_log::kQueryParameter, parameter);
  uint32_t status = SctSendCommand(vxHandle, ssdHandle, sector, sizeof sector);
  if (status != 0) return status;
  std::vector<uint8_t> answer(panic_log::kQueryBytes, 0);
  status = SctReadData(vxHandle, ssdHandle, answer.data(), panic_log::kQueryBytes);
  if (status != 0) return status;
  if (out != nullptr) MemCopy(out, answer.data(), copyLength < panic_log::kQueryBytes ? copyLength : panic_log::kQueryBytes);
  if (print) {
    if (detail == 0) PrintTable(answer.data());
    if (detail == 1) PrintDetail(answer.data());
  }
  return 0;
}

bool PanicSlotExtractable(const uint8_t* headers, uint32_t panicSlot) {
  if (panicSlot >= panic_log::kSlotCount) return false;
  const uint8_t* header = headers + panicSlot * h::kSize;
  return GetLe16(header, h::kValid) == 1 && GetLe16(header, h::kCrc) == 1;
}
