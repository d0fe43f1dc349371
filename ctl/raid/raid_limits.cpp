// What the creation checks know of the controller, and the helpers they share.
#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/raid/volume_checks.h"
#include "ctl/raid/volume_create.h"

namespace {
constexpr uint16_t kProductTypeMask = 0xF000;
constexpr uint16_t kProductTypeSas = 0x2000;
}  // namespace

LibStatus ReadRaidLimits(LibContext* context, const LibHandle* adapter, RaidLimits* limits) {
  uint8_t page6[ioc_page6::kReadSize] = {};
  uint32_t size = sizeof(page6);
  LibStatus status = ConfigPageReadCore(context, adapter, 0, kPageTypeIoc, 6, 0, kReadCurrent, page6, &size);
  if (status != kLibOk) return status;
  limits->capabilities = GetLe32(page6, ioc_page6::kCapabilities);
  for (size_t i = 0; i < 4; ++i) {
    limits->maxDrives[i] = Get8(page6, ioc_page6::kMaxDrives + i);
    limits->minDrives[i] = Get8(page6, ioc_page6::kMinDrives + i);
  }
  limits->maxHotSpares = Get8(page6, ioc_page6::kMaxHotSpares);
  limits->maxPhysDisks = Get8(page6, ioc_page6::kMaxPhysDisks);
  limits->maxVolumes = Get8(page6, ioc_page6::kMaxVolumes);
  limits->metadataReserveMiB = GetLe16(page6, ioc_page6::kMetadataReserve);

  uint8_t config[raid_config_page0::kElements] = {};
  size = sizeof(config);
  status = ConfigPageReadCore(context, adapter, raid_config_page0::kActiveConfiguration, kPageTypeExtended, 0,
                              kExtPageRaidConfig, kReadCurrent, config, &size);
  if (status == kLibOk) {
    limits->disksConfigured = Get8(config, raid_config_page0::kDisksConfigured);
    limits->volumesConfigured = Get8(config, raid_config_page0::kVolumesConfigured);
  } else if (status != kLibPageNotPresent) {
    return status;
  }

  uint8_t page10[manufacturing_page10::kReadSize] = {};
  size = sizeof(page10);
  if (ConfigPageReadCore(context, adapter, 0, kPageTypeManufacturing, 10, 0, kReadCurrent, page10, &size) ==
      kLibOk) {
    limits->page10Read = true;
    limits->raid1eWord = GetLe32(page10, manufacturing_page10::kRaid1eWord);
    limits->options = GetLe32(page10, manufacturing_page10::kOptions);
  }
  uint8_t page4[manufacturing_page4::kReadSize] = {};
  size = sizeof(page4);
  if (ConfigPageReadCore(context, adapter, 0, kPageTypeManufacturing, 4, 0, kReadCurrent, page4, &size) == kLibOk) {
    limits->page4Flags = GetLe32(page4, manufacturing_page4::kFlags);
  }
  limits->sectorSize = 512;
  if ((limits->capabilities & ioc_page6::kCap4kSectors) && limits->page10Read &&
      !(limits->options & manufacturing_page10::kOpt512Sectors)) {
    limits->sectorSize = 4096;
  }
  return kLibOk;
}

DeviceRecord* CreateCheckRun::Member(uint32_t i) const {
  LibHandle handle = MemberHandle(i);
  DeviceRecord* device = nullptr;
  AdapterRecord* owner = nullptr;
  if (FindDevice(context, &handle, &device, &owner) != kLibOk || owner != adapter) return nullptr;
  return device;
}

LibStatus CreateCheckRun::Problem(uint32_t code, uint32_t value) {
  return AddConfigProblem(context, &request->problems, code, value);
}

bool CreateCheckRun::SasAdapter() const {
  return (GetLe16(adapter->iocFacts, ioc_facts_reply::kProductId) & kProductTypeMask) == kProductTypeSas;
}

uint32_t MemberProblemValue(uint32_t reason, const DeviceRecord* device) {
  return (reason << 24) | ((device->bus & 0xFFFF) << 8) | (device->target & 0xFF);
}

// Nothing in the library attaches a table to a device: a device that has one
// is held by something and counts as in use.
bool IsDiskInUse(const DeviceRecord* device) { return device->attachedBuffer != nullptr; }

bool IsNonRotating(const uint8_t* part) { return GetLe32(part, device_part::kNonRotating) == 1; }
