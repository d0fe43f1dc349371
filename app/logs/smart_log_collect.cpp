#include "app/logs/smart_log_collect.h"

#include "app/card/device_protocol.h"
#include "app/card/module_scsi.h"
#include "app/card/slot_naming.h"
#include "app/logs/smart_log_read.h"
#include "app/logs/ssd_event_log_text.h"
#include "app/shell/app_buffer.h"
#include "app/shell/console.h"
#include "app/shell/staged_file.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"

namespace {

// Every part of the name but the byte that is not used.
constexpr LogNameOptions kSmartLogNameOptions = {1, 1, 1, 1, 1, 0, 1};
constexpr uint8_t kErrorHistoryBufferId = 16;

struct Slot {
  uint32_t vx;
  uint32_t ssd;
  uint32_t number;
  uint32_t cage;
  const char* location;
};

// Each collector answers true when its logs were collected (or empty);
// *stop is set where the command gives up at once (no name, no file, no
// memory for a module that speaks SAS).

// The file's path for a log of the slot: the generated name in the
// directory. False after the message when either cannot be made.
bool LogPath(const Slot& slot, const char* prefix, const GetSmartLogOptions& options, char* path) {
  char name[kLogFileNameSize] = {};
  if (BuildLogFileName(slot.vx, slot.ssd, prefix, slot.number, kSmartLogNameOptions, name) != 0 ||
      !JoinLogPath(options.path, name, path)) {
    ConsolePrint("Failed to generate file name for SSD at Cage %02x Location = %s\n", slot.cage, slot.location);
    return false;
  }
  return true;
}

// True when the log was collected or was empty.
bool CollectSsdEventLog(const Slot& slot, const char* path) {
  AppBuffer log;
  uint32_t sectors = 0;
  if (ReadSmartLog(slot.vx, slot.ssd, kSsdEventLogAddress, &log, &sectors) != 0) {
    ConsolePrint("Failed collection of SSD Event Logs for Cage = %02x Location = %s\n", slot.cage, slot.location);
    return false;
  }
  // An empty log leaves no file and says nothing.
  if (sectors == 0) return true;
  if (WriteSsdEventLogText(path, log.get(), sectors) != 0) return false;
  ConsolePrint("Successfully collected SSD Event Logs for Cage = %02x Location = %s\n", slot.cage, slot.location);
  return true;
}

bool CollectSystemEventLog(const Slot& slot, const char* path) {
  AppBuffer log;
  uint32_t sectors = 0;
  if (ReadSmartLog(slot.vx, slot.ssd, kSystemEventLogAddress, &log, &sectors) != 0) {
    ConsolePrint("Failed collection of System Event Logs for Cage = %02x Location = %s\n", slot.cage,
                 slot.location);
    return false;
  }
  if (sectors == 0) {
    ConsolePrint("No System Event Logs present for Cage = %02x Location = %s\n", slot.cage, slot.location);
    return true;
  }
  StagedFile file;
  if (!file.Open(path, "w")) {
    ConsolePrint("ERROR: Failed to create file '%s'\n", path);
    return false;
  }
  if (!file.Write(log.get(), sectors * kAtaSectorSize) || !file.Commit()) {
    ConsolePrint("%s: Error writing System Event Log data to file '%s'.\n", kUtilityTitle, path);
    return false;
  }
  ConsolePrint("Successfully collected System Event Logs for Cage = %02x Location = %s\n", slot.cage, slot.location);
  return true;
}

bool CollectSataLogs(const Slot& slot, const GetSmartLogOptions& options, bool* stop) {
  char path[kLogFileNameSize] = {};
  if (!LogPath(slot, "SSDEventLog", options, path)) return !(*stop = true);
  bool collected = CollectSsdEventLog(slot, path);
  if (!LogPath(slot, "SystemEventLog", options, path)) return !(*stop = true);
  return CollectSystemEventLog(slot, path) && collected;
}

// A module that speaks SAS: its error history, 512 KiB.
bool CollectSasLog(const Slot& slot, const GetSmartLogOptions& options, bool* stop) {
  char path[kLogFileNameSize] = {};
  if (!LogPath(slot, "SAS_SMARTLog", options, path)) return !(*stop = true);
  StagedFile file;
  if (!file.Open(path, "wb+")) {
    ConsolePrint("\n%s: Error opening a file. Name: %s.\n", kUtilityTitle, path);
    return !(*stop = true);
  }
  AppBuffer history(kErrorHistorySize);
  if (!history) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return !(*stop = true);
  }
  if (ReadErrorHistory(slot.ssd, kErrorHistoryBufferId, history.get()) != 0) {
    ConsolePrint("Failed to get Event log for Cage %02x Location = %s\n", slot.cage, slot.location);
    return false;
  }
  if (!file.Write(history.get(), kErrorHistorySize) || !file.Commit()) {
    ConsolePrint("Failed writing Event logs from Cage %02x Location = %s\n", slot.cage, slot.location);
    return false;
  }
  ConsolePrint("Successfully extracted Event log for SSD = %04x Cage = %02x Location = %s\n", slot.number, slot.cage,
               slot.location);
  return true;
}

}  // namespace

uint32_t CollectSlotLogs(uint32_t adapterIndex, const GetSmartLogOptions& options) {
  CardInfo info{};
  uint32_t status = GetCardInfo(adapterIndex, &info);
  if (status != 0) {
    ConsolePrint("ERROR: Failed to get VX Info. Status %02X\n", status);
    return 1;
  }
  uint32_t vx = info.adapterInfo.adapterHandle;
  bool allCollected = true;
  for (uint32_t number = 0; number < kCardModuleSlots; ++number) {
    uint32_t ssd = kNoModuleHandle;
    LibZKGetSSDHandle(vx, number, &ssd);
    if (ssd == kNoModuleHandle) continue;
    if (options.allSlots == 0 && number != options.slot) continue;
    uint32_t protocol = 0;
    if (GetDeviceProtocol(number, &protocol) != 0) {
      if (options.allSlots == 0) return 1;
      allCollected = false;
      continue;
    }
    auto place = static_cast<uint16_t>(number);
    Slot slot{vx, ssd, number, SlotToCage(place), SlotToLocation(place)};
    bool stop = false;
    if (protocol == kProtocolSata) {
      allCollected = CollectSataLogs(slot, options, &stop) && allCollected;
    } else if (protocol == kProtocolSas) {
      allCollected = CollectSasLog(slot, options, &stop) && allCollected;
    } else {
      ConsolePrint("No SATA/SAS devices found at Cage = %02x Location = %s\n", slot.cage, slot.location);
    }
    if (stop) return 1;
    // One slot: the command ends with it, whatever came of it.
    if (options.allSlots == 0) return allCollected ? 0 : 1;
  }
  if (options.allSlots == 0) {
    ConsolePrint("Invalid Slot Number\n");
    return 1;
  }
  return allCollected ? 0 : 1;
}
