// The panic drivers for modules that speak SAS: their panics are the error
// history the module keeps (READ BUFFER), listed, copied into a file, or
// read out as a directory for the erase.
#include <string>
#include <vector>

#include "app/card/config_page_layouts.h"
#include "app/card/module_scsi.h"
#include "app/card/slot_naming.h"
#include "app/logs/log_file_name.h"
#include "app/paniclog/panic_log.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/staged_file.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr uint8_t kPanicBufferId = 17;
constexpr size_t kNameSize = 512;

bool ModuleOf(uint32_t vxHandle, uint16_t slot, uint32_t* ssdHandle) {
  *ssdHandle = kNoModuleHandle;
  return LibZKGetSSDHandle(vxHandle, slot, ssdHandle) == 0 && *ssdHandle != kNoModuleHandle;
}

// The file of a module's error history: cage, location, the unit serial
// number (letters, digits, '-' and '_' only) and the card's SAS address.
bool SasPanicFileName(uint32_t ssdHandle, uint16_t slot, char* name) {
  uint8_t serial[kSerialNumberSize] = {};
  if (ScsiSerialNumber(ssdHandle, serial) != 0) {
    ConsolePrint("Could not get SAS Drive Unique ID\n");
    return false;
  }
  CardInfo info{};
  if (GetCardInfo(SelectedController - 1, &info) != 0) {
    ConsolePrint("Failed to get VX Info\n");
    return false;
  }
  std::string kept;
  AppendModuleText(&kept, serial, sizeof serial);
  char work[kNameSize] = {};
  size_t length = FormatString(work, sizeof work, "%02x_%s_%s_%x%x.bin", SlotToCage(slot), SlotToLocation(slot), kept.c_str(),
                               GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressHigh),
                               GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressLow));
  if (length + 1 >= sizeof work) return false;
  StripBlanks(work, name);
  return true;
}

}  // namespace

uint32_t QuerySasPanics(uint32_t vxHandle) {
  bool failed = false;
  std::vector<uint8_t> directory(kErrorDirectorySize, 0);
  for (uint16_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssdHandle = 0;
    if (!ModuleOf(vxHandle, slot, &ssdHandle)) continue;
    if (PrintErrorHistory(ssdHandle, directory.data(), slot) != 0) {
      ConsolePrint("Failed querying panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
      failed = true;
    }
  }
  return failed ? 1 : 0;
}

uint32_t ExtractSasPanics(uint32_t vxHandle) {
  bool failed = false;
  std::vector<uint8_t> history(kErrorHistorySize, 0);
  for (uint16_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssdHandle = 0;
    if (!ModuleOf(vxHandle, slot, &ssdHandle)) continue;
    char name[kNameSize] = {};
    if (!SasPanicFileName(ssdHandle, slot, name)) {
      failed = true;
      continue;
    }
    MemSet(history.data(), 0, history.size());
    if (ReadErrorHistory(ssdHandle, kPanicBufferId, history.data()) != 0) {
      ConsolePrint("Failed to Extract Panic log from SSD %04x\n", ssdHandle);
      failed = true;
      continue;
    }
    StagedFile file;
    if (!file.Open(name, "wb+")) {
      ConsolePrint("\n%s: Error opening a file. Name: %s.\n", kUtilityTitle, name);
      failed = true;
      continue;
    }
    if (!file.Write(history.data(), kErrorHistorySize) || !file.Commit()) {
      ConsolePrint("Failed writing Panic logs for Cage %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
      failed = true;
      continue;
    }
    ConsolePrint("Successfully extracted Panic log for SSD = %02x Cage = %02x Location = %s\n", slot, SlotToCage(slot),
                 SlotToLocation(slot));
  }
  return failed ? 1 : 0;
}

uint32_t EraseSasPanics(uint32_t vxHandle) {
  bool failed = false;
  for (uint16_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssdHandle = 0;
    if (!ModuleOf(vxHandle, slot, &ssdHandle)) continue;
    ConsolePrint("Cage = %02x Location = %s, checking for valid panics...\n", SlotToCage(slot), SlotToLocation(slot));
    if (ReadErrorHistoryDir(ssdHandle) == 0) {
      ConsolePrint("Successfully erased panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
    } else {
      ConsolePrint("Failed erasing panic for Cage = %02x Location = %s\n", SlotToCage(slot), SlotToLocation(slot));
      failed = true;
    }
  }
  return failed ? 1 : 0;
}
