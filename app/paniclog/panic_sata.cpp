// The panic slot drivers for SATA modules: query, extract and erase, module
// slot by module slot. A module whose handle cannot be had is skipped
// silently; the result says whether anything failed on the way.
#include "app/card/modk_module.h"
#include "app/card/slot_naming.h"
#include "app/paniclog/panic_log.h"
#include "app/paniclog/panic_log_layouts.h"
#include "app/shell/console.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

bool ModuleOf(uint32_t vxHandle, uint16_t slot, uint32_t* ssdHandle) {
  *ssdHandle = kNoModuleHandle;
  return LibZKGetSSDHandle(vxHandle, slot, ssdHandle) == 0 && *ssdHandle != kNoModuleHandle;
}

void PrintChecking(uint16_t slot) {
  ConsolePrint("Cage = %02x Location = %s, checking for valid panics...\n", SlotToCage(slot), SlotToLocation(slot));
}

// The modules the erase is not offered for, the MODK parts; the text names
// which.
const char* EraseUnsupported(const uint8_t* diag) {
  switch (ModkKindOf(diag)) {
    case ModkKind::k4kOptimized: return "MODK - 4K Optimized";
    case ModkKind::k8kOptimized: return "MODK - 8K Optimized";
    case ModkKind::kNone: break;
  }
  return nullptr;
}

}  // namespace

uint32_t QuerySataPanics(uint32_t vxHandle) {
  bool failed = false;
  for (uint16_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssdHandle = 0;
    if (!ModuleOf(vxHandle, slot, &ssdHandle)) continue;
    PrintChecking(slot);
    if (QueryPanicSlots(vxHandle, ssdHandle, panic_log::kQueryHeaders, 0, nullptr, 0, true) == 0) {
      ConsolePrint("Successfully queried panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
    } else {
      ConsolePrint("Failed querying panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
      failed = true;
    }
  }
  return failed ? 1 : 0;
}

uint32_t ExtractSataPanics(uint32_t vxHandle) {
  bool failed = false;
  for (uint16_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssdHandle = 0;
    if (!ModuleOf(vxHandle, slot, &ssdHandle)) continue;
    PrintChecking(slot);
    uint8_t headers[panic_log::kHeaderBytes] = {};
    if (QueryPanicSlots(vxHandle, ssdHandle, panic_log::kQueryHeaders, 0, headers, sizeof headers, false) != 0) {
      failed = true;
      continue;
    }
    for (uint16_t panic = 0; panic < panic_log::kSlotCount; ++panic) {
      if (!PanicSlotExtractable(headers, panic)) continue;
      if (ReadPanicLog(vxHandle, slot, kPanicModeExtract, panic_log::kQueryHeaders, panic, false) == 0) {
        ConsolePrint("Successfully extracted panic for Cage = %02x Location = %s\n", SlotToCage(slot),
                     SlotToLocation(slot));
      } else {
        ConsolePrint("Failed extracting panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
        failed = true;
      }
    }
  }
  return failed ? 1 : 0;
}

uint32_t EraseSataPanics(uint32_t vxHandle) {
  bool failed = false;
  for (uint16_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssdHandle = 0;
    if (!ModuleOf(vxHandle, slot, &ssdHandle)) continue;
    uint8_t diag[kDiagInfoSize] = {};
    if (LibZKSSDGetDiagInfo(vxHandle, ssdHandle, diag, diag_info::kReadSize) != 0) {
      failed = true;
      continue;
    }
    if (const char* part = EraseUnsupported(diag)) {
      ConsolePrint("Cage = %02x Location = %s, erase command not supported for %s\n", SlotToCage(slot),
                   SlotToLocation(slot), part);
      continue;
    }
    PrintChecking(slot);
    uint8_t headers[panic_log::kHeaderBytes] = {};
    if (QueryPanicSlots(vxHandle, ssdHandle, panic_log::kQueryHeaders, 0, headers, sizeof headers, false) != 0) {
      failed = true;
      continue;
    }
    for (int panic = static_cast<int>(panic_log::kSlotCount) - 1; panic >= 0; --panic) {
      if (!PanicSlotExtractable(headers, static_cast<uint32_t>(panic))) continue;
      if (ReadPanicLog(vxHandle, slot, kPanicModeErase, panic_log::kQueryHeaders, static_cast<uint16_t>(panic), false) ==
          0) {
        ConsolePrint("Successfully erased panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
      } else {
        ConsolePrint("Failed erasing panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
        failed = true;
      }
    }
  }
  return failed ? 1 : 0;
}
