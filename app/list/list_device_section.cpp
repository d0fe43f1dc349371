// The device section of -list: every flash module the controller sees (plain
// devices, volume members and hot spares), in slot order, with its state,
// size, identity, link rate, configuration and over-provisioning.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/shell/console.h"
#include "app/shell/json_writer.h"
#include "app/list/list_device_texts.h"
#include "app/list/list_layouts.h"
#include "app/list/list_sections.h"
#include "app/list/list_texts.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/card/module_ata.h"
#include "app/card/module_scsi.h"
#include "app/shell/program_state.h"
#include "app/card/slot_naming.h"
#include "app/card/whole_page.h"
#include "app/format/ssd_capacity.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/modules/module_handles.h"
#include "ctl/base/byte_order.h"
#include "ctl/pages/sas_device_page0.h"
#include "ctl/facade/qmx.h"
#include "ctl/facade/qmx_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/raid/raid_records.h"

namespace {

// IDENTIFY DEVICE words.
namespace identify_words {
constexpr size_t kSerial = 10;      // 10 words
constexpr size_t kFirmware = 23;    // 4 words
constexpr size_t kModel = 27;       // 20 words
constexpr size_t kWwnHigh = 108;
constexpr size_t kWwnNext = 109;
constexpr size_t kSecurity = 128;
constexpr uint16_t kSecurityLocked = 0x0004;
}  // namespace identify_words

constexpr size_t kSerialSize = 20;
constexpr size_t kFirmwareSize = 8;
constexpr size_t kModelSize = 40;

// SAS IO unit page 0: 20-byte phy entries from byte 16, one per slot; the
// negotiated link rate in the high nibble of the entry's byte 3.
namespace sas_io_unit_page0 {
constexpr size_t kPhyData = 16;
constexpr size_t kPhyEntrySize = 20;
constexpr size_t kLinkRate = 3;
}  // namespace sas_io_unit_page0

// The raw flash of a module that reports SAS, in sectors, for its
// over-provisioning figure.
constexpr float kSasRawSectors = 2000000000.0f;

enum class OpState { kUnknown, kPercent, kDlc };

// One module as the listing shows it.
struct DeviceRecord {
  uint32_t slot = 0;
  uint32_t cage = 0;
  const char* location = "";
  const char* state = "";
  bool sizeShown = false;  // peripheral type 0 and a block length
  bool sizeKnown = false;  // the block length is one whose MB figure is meaningful
  int64_t sizeMb = 0;
  uint32_t blockSize = 0;
  int64_t blocks = 0;
  int64_t capacity = 0;
  bool sas = false;
  bool identifyMissing = false;
  uint32_t manufacturer = 0;
  char vendor[inquiry_data::kVendorSize] = {};
  char model[kModelSize] = {};
  size_t modelSize = 0;
  char serial[kSerialSize] = {};
  bool serialMissing = false;
  char firmware[kFirmwareSize] = {};
  size_t firmwareSize = 0;
  char product[inquiry_data::kProductSize] = {};
  bool linkRead = false;
  const char* linkRateText = "Unknown";
  double linkRate = 0.0;
  bool locked = false;
  bool identifierKnown = false;
  uint32_t codeWord = 0;
  uint32_t typeWord = 0;
  const char* description = nullptr;  // the table's text; null: from the model, or Unknown
  OpState op = OpState::kUnknown;
  int opPercent = 0;
};

// IDENTIFY text: each word's two bytes, high byte first.
void IdentifyText(const uint8_t* identify, size_t firstWord, size_t characters, char* out) {
  for (size_t i = 0; i < characters; i += 2) {
    uint16_t word = GetLe16(identify, 2 * (firstWord + i / 2));
    out[i] = static_cast<char>(word >> 8);
    out[i + 1] = static_cast<char>(word & 0xFF);
  }
}

bool IsAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A JSON value made of a field's letters and digits only.
void CharacterField(JsonWriter* json, const char* key, const char* field, size_t size) {
  char text[kModelSize + 1] = {};
  size_t n = 0;
  for (size_t i = 0; i < size && n < kModelSize; ++i) {
    if (IsAlphanumeric(field[i])) text[n++] = field[i];
  }
  json->String(key, text);
}

// Prints a field of fixed width, each byte that does not print as a blank.
void PrintField(const char* field, size_t size) {
  char text[kModelSize + 1];
  PrintableText(text, field, std::min(size, kModelSize));
  ConsolePrint("%s", text);
}

// The rest of an identity line: the field, or "NA " when it is not known.
void PrintFieldLine(bool notKnown, const char* field, size_t size) {
  if (notKnown) {
    ConsolePrint("NA \n");
    return;
  }
  PrintField(field, size);
  ConsolePrint("\n");
}

const char* LinkRateText(uint8_t code, double* gbps) {
  switch (code) {
    case 8: *gbps = 1.5; return "1.5";
    case 9: *gbps = 3.0; return "3.0";
    case 10: *gbps = 6.0; return "6.0";
    default: *gbps = 0.0; return "Unknown";
  }
}

// Whether the module speaks SATA, from its SAS device page 0; a page that
// cannot be read counts as SATA.
bool ModuleIsSas(uint32_t adapter, uint16_t devHandle) {
  uint8_t page[sas_device_page0::kSize] = {};
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  uint32_t held = 0;
  if (GetCfgPage(adapter, kPageTypeExtended, sas_device_page0::kNumber, kExtPageSasDevice, sizeof page,
                 kConfigActionReadCurrent, page, kPageAddressForm2 | devHandle, &iocStatus, &iocLogInfo,
                 &held) == 0 ||
      !PageHolds(held, sas_device_page0::kDeviceInfo, 4)) {
    return false;
  }
  return (GetLe32(page, sas_device_page0::kDeviceInfo) & sas_device_page0::kInfoSataDevice) == 0;
}

// The section's running state: the failure flag and the JSON code of the
// last failing step.
struct SectionState {
  uint32_t adapter = 0;  // adapter handle, also the card's VX handle
  bool failed = false;
  int code = 0;
  bool text = true;
  void Fail(int jsonCode) {
    failed = true;
    code = jsonCode;
  }
};

// The entries of the device list and the records they point into, freed
// together.
struct DeviceList {
  std::vector<DeviceListEntry> entries;
  std::vector<AppBuffer> records;
  void Add(uint8_t kind, AppBuffer record) {
    entries.push_back({kind, record.get()});
    records.push_back(std::move(record));
  }
};

// A new zeroed record of size bytes, or an empty one after the memory
// message.
AppBuffer NewRecord(SectionState* s, size_t size) {
  AppBuffer record(size);
  if (!record) {
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    s->Fail(kListJsonNoMemory);
  }
  return record;
}

// Plain devices: the targets that present no volume and have a known type.
void GatherPlainDevices(SectionState* s, const LibHandle* adapter, uint32_t count, DeviceList* list) {
  for (uint32_t i = 0; i < count; ++i) {
    AppBuffer record = NewRecord(s, kDeviceInfoSize);
    if (!record) return;
    uint32_t size = kDeviceInfoSize;
    bool keep = QmxGetDeviceInfo(i, adapter, nullptr, record.As<DeviceInfoBlock>(), &size) == kLibOk &&
                GetLe32(record.get(), device_info::kVolumeHandle) == 0 &&
                GetLe32(record.get(), device_info::kDeviceType) != inquiry_data::kTypeUnknown;
    if (keep) list->Add(kListPlainDevice, std::move(record));
  }
}

// The members of every volume. Answers the number of volumes.
uint32_t GatherMembers(SectionState* s, const LibHandle* adapter, DeviceList* list) {
  uint32_t volumes = 0;
  if (QmxCountVolumes(adapter, &volumes) != kLibOk) {
    s->Fail(kListJsonNoVolume);
    return 0;
  }
  for (uint32_t v = 0; v < volumes; ++v) {
    VolumeInfo info;
    MemSet(&info, 0, sizeof info);
    uint32_t size = sizeof info;
    if (QmxGetVolumeInfo(nullptr, v, adapter, 1, &info, &size) != kLibOk) {
      s->Fail(kListJsonVolumeInfoFailed);
      return volumes;
    }
    LibHandle volume = GetLe32(info.bytes, volume_info::kHandle);
    uint32_t members = 0;
    if (QmxCountMemberDisks(&volume, &members) != kLibOk) {
      s->Fail(kListJsonMemberCountFailed);
      return volumes;
    }
    for (uint32_t m = 0; m < members; ++m) {
      AppBuffer record = NewRecord(s, kPhysDiskInfoSize);
      if (!record) return volumes;
      uint32_t got = kPhysDiskInfoSize;
      if (GetModuleDiskInfo(adapter, nullptr, m, &volume, 1, record.As<PhysDiskInfo>(), &got) != 0) {
        s->Fail(kListJsonMemberInfoFailed);
        return volumes;
      }
      list->Add(kListVolumeMember, std::move(record));
    }
  }
  return volumes;
}

void GatherHotSpares(SectionState* s, const LibHandle* adapter, DeviceList* list) {
  uint32_t spares = 0;
  if (QmxCountHotSpares(adapter, &spares) != kLibOk) {
    s->Fail(kListJsonDeviceStepFailed);
    return;
  }
  for (uint32_t i = 0; i < spares; ++i) {
    AppBuffer record = NewRecord(s, kPhysDiskInfoSize);
    if (!record) return;
    uint32_t size = kPhysDiskInfoSize;
    if (QmxGetHotSpareInfo(nullptr, i, adapter, 1, record.As<PhysDiskInfo>(), &size) != kLibOk) {
      s->Fail(kListJsonDeviceStepFailed);
      return;
    }
    list->Add(kListHotSpare, std::move(record));
  }
}

// The module's configuration identifier: the page-223 word of its slot
// when there is one, else its diagnostic information.
bool ConfigIdentifier(uint32_t vx, uint32_t ssd, uint32_t slot, const Page223Buffer& page223, uint32_t* code,
                      uint32_t* type) {
  size_t offset = kPage223SlotWords + 4 * static_cast<size_t>(slot);
  if (slot < kCardModuleSlots && page223.Holds(offset, 4)) {
    uint32_t packed = GetLe32(page223.data(), offset);
    if (packed != 0) {
      uint32_t words[2];
      BcdToDigits(words, packed);
      *code = words[0];
      *type = words[1];
      return true;
    }
  }
  if (ssd == kNoModuleHandle) return false;
  DiagInfoBlock block;
  MemSet(&block, 0, sizeof block);
  if (LibZKSSDGetDiagInfo(vx, ssd, &block, diag_info::kReadSize) != 0) return false;
  *code = GetLe32(block.bytes, diag_info::kConfigId);
  *type = GetLe32(block.bytes, diag_info::kModelType);
  return true;
}

// Reads SAS IO unit page 0 for the slot's link rate. False only when its
// buffer cannot be allocated (the section then ends).
bool ReadLinkRate(SectionState* s, DeviceRecord* d) {
  PageCopy page;
  PageRead read = ReadWholePage(s->adapter, {kPageTypeExtended, 0, kExtPageSasIoUnit}, kReadCurrent, &page);
  if (read.result == PageReadResult::kNoMemory) {
    s->Fail(kListJsonNoMemory);
    return false;
  }
  uint32_t entry = sas_io_unit_page0::kPhyData + sas_io_unit_page0::kPhyEntrySize * d->slot;
  if (read.ok() && page.Holds(entry + sas_io_unit_page0::kLinkRate, 1)) {
    d->linkRead = true;
    d->linkRateText =
        LinkRateText(static_cast<uint8_t>(page.data()[entry + sas_io_unit_page0::kLinkRate] >> 4), &d->linkRate);
  } else {
    // A phy entry the page does not hold has no rate to show.
    s->code = kListJsonLinkPageFailed;
  }
  return true;
}

// Gathers what the listing shows of one module. False when the section
// must end (memory ran out).
bool DescribeModule(SectionState* s, const DeviceListEntry& entry, const Page223Buffer& page223, DeviceRecord* d) {
  const uint8_t* part = EntryDevicePart(entry);
  d->slot = GetLe16(part, device_part::kSlot);
  uint16_t devHandle = GetLe16(part, device_part::kDevHandle);
  uint32_t libraryHandle = GetLe32(entry.record, device_info::kHandle);
  const uint8_t* inq = part + device_part::kInquiry;
  uint8_t peripheralType = inq[0] & inquiry_data::kTypeMask;
  uint32_t blockLength = GetLe32(part, device_part::kBlockLength);
  uint64_t lastLba = GetLe64(part, device_part::kLastLba);
  uint32_t diskState = 0;
  uint32_t offlineReason = 0;
  if (entry.kind != kListPlainDevice) {
    diskState = GetLe32(entry.record, phys_disk_info::kDiskState);
    offlineReason = GetLe32(entry.record, phys_disk_info::kOfflineReason);
  }
  d->sas = ModuleIsSas(s->adapter, devHandle);
  // The text layout looks the cage and location up as it prints their lines,
  // so that a lookup's own message stands before the line it concerns.
  if (!s->text) {
    d->cage = SlotToCage(static_cast<uint16_t>(d->slot));
    d->location = SlotToLocation(static_cast<uint16_t>(d->slot));
  }
  d->state = DeviceStateText(entry.kind, peripheralType, blockLength, diskState, offlineReason);

  // Size: the module's own last LBA and block length.
  d->blockSize = blockLength;
  uint64_t blocks = lastLba + 1;
  uint64_t bytes = blocks * blockLength;
  d->sizeShown = peripheralType == 0 && blockLength != 0;
  if (d->sizeShown) {
    d->blocks = static_cast<int64_t>(blocks);
    d->capacity = static_cast<int64_t>(bytes);
    d->sizeKnown = blockLength == 512 || blockLength == 1024 || blockLength == 2048;
    if (d->sizeKnown) d->sizeMb = static_cast<int64_t>(bytes >> 20);
  }

  uint32_t ssd = kNoModuleHandle;
  if (d->slot < kCardModuleSlots && LibZKGetSSDHandle(s->adapter, d->slot, &ssd) != 0) ssd = kNoModuleHandle;

  if (d->sas) {
    MemCopy(d->vendor, inq + inquiry_data::kVendor, inquiry_data::kVendorSize);
    MemCopy(d->model, inq + inquiry_data::kProduct, inquiry_data::kProductSize);
    d->modelSize = inquiry_data::kProductSize;
    MemCopy(d->product, inq + inquiry_data::kProduct, inquiry_data::kProductSize);
    MemCopy(d->firmware, inq + inquiry_data::kRevision, inquiry_data::kRevisionSize);
    d->firmwareSize = inquiry_data::kRevisionSize;
    uint8_t serial[kSerialNumberSize] = {};
    d->serialMissing = ScsiSerialNumber(libraryHandle, serial) != 0;
    if (!d->serialMissing) MemCopy(d->serial, serial, kSerialSize);
    // No raw capacity is known for a module that reports SAS.
  } else {
    d->identifierKnown = ConfigIdentifier(s->adapter, ssd, d->slot, page223, &d->codeWord, &d->typeWord);
    if (!d->identifierKnown) {
      s->Fail(kListJsonIdentifierFailed);
    } else {
      // A known configuration's raw capacity needs no module handle, so a
      // member that is not optimal and a hot spare have their figure too;
      // only a capacity that must be measured needs the module itself.
      uint32_t raw = 0;
      float percent = 0;
      bool rawKnown = ssd != kNoModuleHandle ? GetSsdCapacity(s->adapter, ssd, d->typeWord, d->codeWord,
                                                              static_cast<uint16_t>(d->slot), &raw) == 0
                                             : FixedSsdCapacity(d->typeWord, d->codeWord, &raw);
      if (rawKnown && raw != 0 && OverProvisioningPercent(raw, bytes, &percent)) {
        if (percent >= 0) {
          d->op = OpState::kPercent;
          d->opPercent = RoundOverProvisioning(percent);
        } else {
          d->op = OpState::kDlc;
        }
      }
      d->description = ModuleDescription(d->typeWord, d->codeWord);
    }
    uint8_t identify[kIdentifySize] = {};
    d->identifyMissing = ssd == kNoModuleHandle || AtaIdentifyDevice(s->adapter, ssd, identify) != 0;
    if (d->identifyMissing) {
      s->code = kListJsonIdentifyFailed;
    } else {
      d->manufacturer = (static_cast<uint32_t>(GetLe16(identify, 2 * identify_words::kWwnHigh) & 0x0FFF) << 12) |
                        (GetLe16(identify, 2 * identify_words::kWwnNext) >> 4);
      IdentifyText(identify, identify_words::kModel, kModelSize, d->model);
      d->modelSize = kModelSize;
      IdentifyText(identify, identify_words::kSerial, kSerialSize, d->serial);
      IdentifyText(identify, identify_words::kFirmware, kFirmwareSize, d->firmware);
      d->firmwareSize = kFirmwareSize;
      d->locked = (GetLe16(identify, 2 * identify_words::kSecurity) & identify_words::kSecurityLocked) != 0;
    }
  }
  return ReadLinkRate(s, d);
}

// The model's characters up to its first '-'.
void PrintModelPrefix(const DeviceRecord& d) {
  size_t n = 0;
  while (n < d.modelSize && d.model[n] != '-') ++n;
  PrintField(d.model, n);
}

void PrintDeviceText(const DeviceRecord& d) {
  ConsolePrint("\nDevice is a Solid State Drive\n");
  ConsolePrint("  SSD Slot #                              : %d\n", static_cast<int>(d.slot));
  ConsolePrint("  Cage                                    : %d\n",
               static_cast<int>(SlotToCage(static_cast<uint16_t>(d.slot))));
  ConsolePrint("  Location                                : %s\n", SlotToLocation(static_cast<uint16_t>(d.slot)));
  ConsolePrint("  State                                   : %s\n", d.state);
  if (d.sizeShown) {
    if (d.sizeKnown) {
      ConsolePrint("  Size (in MB)                            : %lld\n", static_cast<long long>(d.sizeMb));
    } else {
      ConsolePrint("  Size (in MB)                            : ???\n");
    }
    ConsolePrint("  Block Size                              : %d\n", static_cast<int>(d.blockSize));
    ConsolePrint("  Number of Blocks                        : %lld\n", static_cast<long long>(d.blocks));
    ConsolePrint("  Capacity (in bytes)                     : %lld\n", static_cast<long long>(d.capacity));
  }
  const bool na = !d.sas && d.identifyMissing;
  ConsolePrint("  Manufacturer ID                         : ");
  if (na) {
    ConsolePrint("NA \n");
  } else if (d.sas) {
    PrintField(d.vendor, sizeof d.vendor);
    ConsolePrint("\n");
  } else {
    ConsolePrint("%x \n", d.manufacturer);
  }
  ConsolePrint("  Model Number                            : ");
  PrintFieldLine(na, d.model, d.modelSize);
  ConsolePrint("  Serial Number                           : ");
  PrintFieldLine(na || d.serialMissing, d.serial, sizeof d.serial);
  ConsolePrint("  Firmware Revision                       : ");
  PrintFieldLine(na, d.firmware, d.firmwareSize);
  if (d.linkRead) ConsolePrint("  Link Rate                               : %s\n", d.linkRateText);
  if (d.sas) {
    ConsolePrint("  Unique Identifier                       : ");
    PrintField(d.product, sizeof d.product);
    ConsolePrint("\n");
  } else {
    ConsolePrint("  Security Lock Status                    : %s", d.locked ? "Locked \n" : "Unlocked \n");
    if (!d.identifierKnown) {
      ConsolePrint(" \n");
    } else {
      ConsolePrint("  Unique Identifier                       : 0x%02x%08x \n", d.typeWord, d.codeWord);
      ConsolePrint("                                          : ");
      if (d.description != nullptr) {
        ConsolePrint("%s\n", d.description);
      } else if (d.identifyMissing) {
        ConsolePrint("Unknown\n");
      } else {
        PrintModelPrefix(d);
        ConsolePrint("\n");
      }
    }
  }
  switch (d.op) {
    case OpState::kPercent:
      ConsolePrint("  OverProvisioning(%%)                     : %d\n", d.opPercent);
      break;
    case OpState::kDlc:
      ConsolePrint("  DLC                                     : Enabled\n");
      break;
    case OpState::kUnknown:
      ConsolePrint("  OverProvisioning(%%)                     : NA\n");
      break;
  }
}

void WriteDeviceJson(JsonWriter* json, const DeviceRecord& d) {
  json->BeginObject();
  json->Unsigned("slot", d.slot);
  json->Unsigned("cage", d.cage);
  json->String("location", d.location);
  json->String("state", d.state);
  json->QuotedUnsigned("sizeMB", d.sizeShown && d.sizeKnown ? static_cast<uint64_t>(d.sizeMb) : 0);
  json->QuotedUnsigned("blkSize", d.sizeShown ? d.blockSize : 0);
  json->QuotedUnsigned("numBlocks", d.sizeShown ? static_cast<uint64_t>(d.blocks) : 0);
  json->QuotedUnsigned("capacityB", d.sizeShown ? static_cast<uint64_t>(d.capacity) : 0);
  char number[16];
  if (d.sas) {
    CharacterField(json, "mfgID", d.vendor, sizeof d.vendor);
    CharacterField(json, "model", d.model, d.modelSize);
    if (d.serialMissing) {
      json->String("serialNum", "NA");
    } else {
      CharacterField(json, "serialNum", d.serial, sizeof d.serial);
    }
    CharacterField(json, "fwRev", d.firmware, d.firmwareSize);
  } else if (d.identifyMissing) {
    json->String("mfgID", "0");
    json->Unsigned("model", 0);
    json->String("serialNum", "NA");
    json->String("fwRev", "NA");
  } else {
    FormatString(number, sizeof number, "%x", d.manufacturer);
    json->String("mfgID", number);
    CharacterField(json, "model", d.model, d.modelSize);
    CharacterField(json, "serialNum", d.serial, sizeof d.serial);
    CharacterField(json, "fwRev", d.firmware, d.firmwareSize);
  }
  json->Float("linkRate", d.linkRead ? d.linkRate : 0.0, JsonWriter::FloatStyle::kOneDecimal);
  if (d.sas) {
    CharacterField(json, "uniqueID", d.product, sizeof d.product);
    CharacterField(json, "description", d.product, sizeof d.product);
  } else {
    json->String("lockStatus", d.locked ? "Locked" : "Unlocked");
    char unique[24];
    FormatString(unique, sizeof unique, "0x%02x%08x", d.identifierKnown ? d.typeWord : 0,
                 d.identifierKnown ? d.codeWord : 0);
    json->String("uniqueID", unique);
    if (!d.identifierKnown) {
      json->String("description", " ");
    } else if (d.description != nullptr) {
      json->String("description", d.description);
    } else if (d.identifyMissing) {
      json->String("description", "Unknown");
    } else {
      CharacterField(json, "description", d.model, d.modelSize);
    }
  }
  switch (d.op) {
    case OpState::kPercent:
      json->QuotedUnsigned("OverProvisioning(%)", static_cast<uint64_t>(d.opPercent));
      json->Bool("DLCEnabled", false);
      break;
    case OpState::kDlc:
      json->Bool("DLCEnabled", true);
      break;
    case OpState::kUnknown:
      json->String("OverProvisioning(%)", "NA");
      json->Null("DLCEnabled");
      break;
  }
  json->EndObject();
}

}  // namespace

int PrintPhysicalDevices(const ListParams&, JsonWriter* json, const Page223Buffer& page223) {
  SectionState s;
  s.text = json == nullptr;
  if (s.text) ConsolePrint("%sPhysical Device Information\n%s", kListRule, kListRule);

  // Rescan first, so that the listing sees the devices, volumes and hot
  // spares as they are now.
  AdapterInfoBlock info;
  MemSet(&info, 0, sizeof info);
  uint32_t size = sizeof info;
  if (QmxGetAdapterInfo(SelectedController - 1, nullptr, &info, &size) != kLibOk) {
    s.Fail(kListJsonNoVolume);
  } else {
    s.adapter = info.adapterHandle;
    LibHandle adapter = s.adapter;
    if (QmxRefreshAdapter(&adapter) != kLibOk) s.Fail(kListJsonNoVolume);
  }
  LibHandle adapter = s.adapter;
  uint32_t count = 0;
  if (!s.failed && QmxGetDeviceCount(&adapter, &count) != kLibOk) {
    ConsoleDiagnostic("\n%s: Failed getting device count.\n", kUtilityTitle);
    s.Fail(kListJsonNoVolume);
  }

  DeviceList list;
  uint32_t volumes = 0;
  if (!s.failed) GatherPlainDevices(&s, &adapter, count, &list);
  if (!s.failed) volumes = GatherMembers(&s, &adapter, &list);
  if (!s.failed) GatherHotSpares(&s, &adapter, &list);
  if (s.failed) return s.text ? 1 : s.code;
  std::vector<DeviceListEntry>& entries = list.entries;
  // A card without a volume lists its modules, and says so in its code.
  if (volumes == 0) s.code = kListJsonNoVolume;

  std::sort(entries.begin(), entries.end(),
            [](const DeviceListEntry& a, const DeviceListEntry& b) { return CompareDeviceSlot(a, b) < 0; });
  if (!s.text && !entries.empty()) json->BeginArray("device");
  for (const DeviceListEntry& entry : entries) {
    DeviceRecord d;
    if (!DescribeModule(&s, entry, page223, &d)) break;
    if (s.text) {
      PrintDeviceText(d);
    } else {
      WriteDeviceJson(json, d);
    }
  }
  if (!s.text && !entries.empty()) json->EndArray();
  if (s.text) return s.failed || (s.code != 0 && s.code != kListJsonNoVolume) ? 1 : 0;
  return s.code;
}
