#include "app/list/list_device_texts.h"

#include "app/card/config_code.h"
#include "app/health/single_precision.h"
#include "ctl/base/byte_order.h"
#include "ctl/devices/device_info.h"
#include "ctl/raid/raid_records.h"

namespace {

static_assert(device_info::kDevicePart == phys_disk_info::kDevicePart);

struct Description {
  char type;
  uint32_t code;
  const char* text;
};

constexpr Description kDescriptions[] = {
    {'4', ConfigCodeWord("1591"), "MODB - 4K Optimized "}, {'4', ConfigCodeWord("2519"), "MODC - 8K Optimized"},
    {'8', ConfigCodeWord("1591"), "MODB - 8K Optimized"},  {'3', ConfigCodeWord("2512"), "MODA - 4K Optimized"},
    {'1', ConfigCodeWord("2514"), "MODA - 8K Optimized"},  {'1', ConfigCodeWord("2519"), "MODD - 8K Optimized"},
    {'1', ConfigCodeWord("2532"), "MODJ - 8K Optimized"},  {'5', ConfigCodeWord("1506"), "Thistle - Unsupported"},
    {'5', ConfigCodeWord("2526"), "MODJ - 4K Optimized"},  {'0', ConfigCodeWord("2519"), "MODF - 8K Optimized"},
    {'9', ConfigCodeWord("2516"), "MODG - 8K Optimized"},  {'9', ConfigCodeWord("2518"), "MODH - 8K Optimized"},
    {'6', ConfigCodeWord("2525"), "MODI - 8K Optimized"},
};

// Disk states and offline reasons of a member's RAID status.
enum : uint32_t {
  kDiskNotCompatible = 1,
  kDiskOffline = 2,
  kDiskOnline = 3,
  kDiskHotSpareState = 4,
  kDiskDegraded = 5,
  kDiskRebuilding = 6,
  kDiskOptimal = 7,
};

const char* OfflineText(uint32_t reason) {
  switch (reason) {
    case 1: return "Missing (MIS)";
    case 3: return "Failed (FLD)";
    case 4: return "Out of Sync (OSY)";
    case 5: return "Offline Requested (OFLR)";
    case 6: return "Failed Requested (FLDR)";
    default: return "Offline Unknown (OFLU)";
  }
}

constexpr uint32_t kReadyBlockLength = 512;

}  // namespace

const uint8_t* EntryDevicePart(const DeviceListEntry& entry) { return entry.record + device_info::kDevicePart; }

int CompareDeviceSlot(const DeviceListEntry& a, const DeviceListEntry& b) {
  const uint8_t* pa = EntryDevicePart(a);
  const uint8_t* pb = EntryDevicePart(b);
  uint16_t ea = GetLe16(pa, device_part::kEnclosureHandle);
  uint16_t eb = GetLe16(pb, device_part::kEnclosureHandle);
  if (ea != eb) return ea < eb ? -1 : 1;
  uint16_t sa = GetLe16(pa, device_part::kSlot);
  uint16_t sb = GetLe16(pb, device_part::kSlot);
  if (sa != sb) return sa < sb ? -1 : 1;
  return 0;
}

const char* DeviceStateText(uint8_t kind, uint8_t peripheralType, uint32_t blockLength, uint32_t diskState,
                            uint32_t offlineReason) {
  if (kind == kListPlainDevice) {
    if (peripheralType != 0) return "Standby (SBY)";
    return blockLength == kReadyBlockLength ? "Ready (RDY)" : "Available (AVL)";
  }
  if (kind == kListHotSpare) return "Hot Spare (HSP)";
  switch (diskState) {
    case kDiskOnline: return "Online (ONL)";
    case kDiskOffline: return OfflineText(offlineReason);
    case kDiskNotCompatible: return "Not Compatible (NCOMP)";
    case kDiskHotSpareState: return "";
    case kDiskDegraded: return "Degraded (DGD)";
    case kDiskRebuilding: return "Rebuilding (RBLD)";
    case kDiskOptimal: return "Optimal (OPT)";
    default: return "Unknown";
  }
}

uint32_t BcdToDigits(uint32_t words[2], uint32_t packed) {
  words[0] = 0;
  words[1] = 0;
  for (uint32_t k = 0; k < 8 && packed != 0; ++k, packed >>= 4) {
    uint32_t character = '0' + (packed & 0xF);
    words[k / 4] |= character << (8 * (k % 4));
  }
  if (words[1] == 0) words[1] = '0';
  return 0;
}

const char* ModuleDescription(uint32_t typeWord, uint32_t codeWord) {
  for (const Description& d : kDescriptions) {
    if (typeWord == static_cast<uint32_t>(d.type) && codeWord == d.code) return d.text;
  }
  return nullptr;
}

bool OverProvisioningPercent(uint32_t rawGigabytes, uint64_t userBytes, float* percent) {
  if (userBytes == 0) return false;
  const float raw = SinglePrecision(SinglePrecision(static_cast<float>(rawGigabytes)) * 1.0e9f);
  const float user = SinglePrecision(static_cast<float>(userBytes));
  const float spare = SinglePrecision(raw - user);
  *percent = SinglePrecision(SinglePrecision(spare / user) * 100.0f);
  return true;
}

int RoundOverProvisioning(float percent) {
  const float whole = SinglePrecision(static_cast<float>(static_cast<int>(percent)));
  int result = static_cast<int>(whole);
  if (SinglePrecision(percent - whole) >= 0.01f) ++result;
  return result;
}
