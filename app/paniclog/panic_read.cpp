// One panic slot of one module: its file name, and the query, extract or
// erase exchange with the dump's transfer.
#include <string>
#include <vector>

#include "app/card/module_ata.h"
#include "app/card/config_page_layouts.h"
#include "app/card/slot_naming.h"
#include "app/logs/log_file_name.h"
#include "app/paniclog/panic_log.h"
#include "app/paniclog/panic_log_layouts.h"
#include "app/shell/console.h"
#include "app/shell/keyboard_input.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/staged_file.h"
#include "app/shell/utility_names.h"
#include "cardlib/layouts/sct_sector.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

namespace {

constexpr size_t kNameSize = 512;
constexpr size_t kSerialOffset = 20;  // IDENTIFY DEVICE words 10-19
constexpr size_t kSerialSize = 20;

// The ATA serial number as it may stand in a file name: the 20 characters
// of IDENTIFY words 10 to 19, the two bytes of each word swapped.
std::string SerialOf(const uint8_t* identify) {
  uint8_t serial[kSerialSize] = {};
  for (size_t i = 0; i < kSerialSize; i += 2) {
    serial[i] = identify[kSerialOffset + i + 1];
    serial[i + 1] = identify[kSerialOffset + i];
  }
  std::string kept;
  AppendModuleText(&kept, serial, sizeof serial);
  return kept;
}

uint32_t SectorsToRead(uint32_t dataSize) {
  const uint64_t sectors = (static_cast<uint64_t>(dataSize) + kAtaSectorSize - 1) / kAtaSectorSize;
  const uint64_t whole = (sectors + panic_log::kExtractTail - 1) / panic_log::kExtractTail * panic_log::kExtractTail;
  return static_cast<uint32_t>(whole);
}

// Asks whether to go on with a slot that holds no extractable panic. Only
// the answer 1 goes on; anything else, an invalid entry included, is No.
bool ContinueAnyway() {
  ConsolePrint("Slot was selected which does not have a valid panic.  \n");
  ConsolePrint("But do you want to continue anyways [0:No  1:Yes]: ");
  uint32_t flag = kEntryValid;
  uint32_t answer = ReadMenuNumber(0, 1, &flag);
  return flag == kEntryValid && answer == 1;
}

}  // namespace

uint32_t BuildPanicLogFileName(uint32_t vxHandle, uint16_t slot, uint16_t panicSlot, char* name) {
  if (name == nullptr) return 1;
  name[0] = '\0';
  uint32_t ssdHandle = kNoModuleHandle;
  if (LibZKGetSSDHandle(vxHandle, slot, &ssdHandle) != 0) return 1;
  uint8_t identify[kIdentifySize] = {};
  if (AtaIdentifyDevice(vxHandle, ssdHandle, identify) != 0) return 1;
  uint8_t diag[kDiagInfoSize] = {};
  if (LibZKSSDGetDiagInfo(vxHandle, ssdHandle, diag, diag_info::kReadSize) != 0) return 1;
  CardInfo info{};
  if (GetCardInfo(SelectedController - 1, &info) != 0) return 1;

  const std::string serial = SerialOf(identify);
  char work[kNameSize] = {};
  const size_t length =
      FormatString(work, sizeof work, "%02x_%s_%02x_%s_%x%x_%x%x.bin", SlotToCage(slot), SlotToLocation(slot),
                   static_cast<unsigned>(panicSlot), serial.c_str(), GetLe32(diag, diag_info::kModelType),
                   GetLe32(diag, diag_info::kConfigId), GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressHigh),
                   GetLe32(info.mfgPage5, manufacturing_page5::kSasAddressLow));
  if (length + 1 >= sizeof work) return 1;  // never a cut name
  StripBlanks(work, name);
  return 0;
}

uint32_t ReadPanicLog(uint32_t vxHandle, uint16_t slot, uint32_t mode, uint32_t parameter, uint16_t panicSlot,
                      bool verbose) {
  uint32_t ssdHandle = kNoModuleHandle;
  uint32_t status = LibZKGetSSDHandle(vxHandle, slot, &ssdHandle);
  if (status != 0) return status;
  uint8_t headers[panic_log::kHeaderBytes] = {};
  if (mode == kPanicModeQuery) {
    return QueryPanicSlots(vxHandle, ssdHandle, static_cast<uint8_t>(parameter), 0, headers, sizeof headers, false);
  }
  if (mode != kPanicModeExtract && mode != kPanicModeErase) return 1;
  status = QueryPanicSlots(vxHandle, ssdHandle, panic_log::kQueryHeaders, 0, headers, sizeof headers, false);
  if (status != 0) return status;
  if (!PanicSlotExtractable(headers, panicSlot) && !ContinueAnyway()) return 0;
  const bool extract = mode == kPanicModeExtract;

  uint32_t remaining = panic_log::kEraseSectors;
  uint32_t chunk = panic_log::kEraseSectors;
  uint32_t dataSize = 0;
  StagedFile file;
  if (extract) {
    char name[kNameSize] = {};
    if (BuildPanicLogFileName(vxHandle, slot, panicSlot, name) != 0) return 1;
    if (!file.Open(name, "wb+")) {
      ConsolePrint("\n%s: Error opening a file. Name: %s.\n", kUtilityTitle, name);
      return 1;
    }
    dataSize = panicSlot < panic_log::kSlotCount
                   ? GetLe32(headers, panicSlot * panic_slot_header::kSize + panic_slot_header::kDataSize)
                   : 0;
    remaining = SectorsToRead(dataSize);
    chunk = panic_log::kExtractChunk;
  }

  std::vector<uint8_t> buffer(static_cast<size_t>(chunk) * kAtaSectorSize, 0);
  PutLe16(buffer.data(), sct_sector::kAction, panic_log::kAction);
  PutLe16(buffer.data(), sct_sector::kFunction, extract ? panic_log::kFunctionExtract : panic_log::kFunctionErase);
  Put8(buffer.data(), panic_log::kPanicSlot, static_cast<uint8_t>(panicSlot));
  status = SctSendCommand(vxHandle, ssdHandle, buffer.data(), panic_log::kCommandBytes);
  if (status != 0) return status;

  uint32_t failures = 0;
  uint32_t written = 0;
  while (remaining > 0) {
    if (verbose) ConsolePrint("Blocks remaining = %d \n", static_cast<int>(remaining));
    MemSet(buffer.data(), 0, buffer.size());
    const uint32_t bytes = chunk * kAtaSectorSize;
    status = SctReadData(vxHandle, ssdHandle, buffer.data(), bytes);
    if (status != 0) {
      ConsolePrint("Failed to read Panic Log. Status = 0x%X. Retrying... \n", status);
      if (++failures == panic_log::kReadAttempts) {
        SleepSeconds(1);
        break;  // the file holds part of the dump: it is abandoned below
      }
      continue;
    }
    if (extract) {
      const uint32_t left = dataSize - written;
      const uint32_t piece = bytes < left ? bytes : left;
      if (!file.Write(buffer.data(), piece)) {
        ConsolePrint("Write failed for log file!\n");
        return 1;
      }
      written += piece;
    }
    remaining = remaining > chunk ? remaining - chunk : 0;
    if (remaining < chunk) chunk = panic_log::kExtractTail;
  }
  if (!extract || status != 0) return status;
  if (!file.Commit()) {
    ConsolePrint("Write failed for log file!\n");
    return 1;
  }
  return 0;
}
