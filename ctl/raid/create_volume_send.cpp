// The create action for a checked request, and the objects of the new
// volume and its members.
#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/discovery/discovery.h"
#include "ctl/transport/driver_transport.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/base/lib_buffer.h"
#include "ctl/objects/object_tree.h"
#include "ctl/config_pages/page_copy.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/raid/raid_actions.h"
#include "ctl/raid/raid_scan.h"
#include "ctl/raid/volume_create.h"

namespace {

constexpr uint32_t kUnmapped = 0xFFFFFFFF;

bool KnownVolumeType(uint32_t type) {
  return type == kVolumeTypeRaid0 || type == kVolumeTypeRaid1e || type == kVolumeTypeRaid1 ||
         type == kVolumeTypeRaid10;
}

uint32_t CreationSettings(const CreateVolumeRequest& r) {
  uint32_t settings = static_cast<uint32_t>(r.hotSparePool) << 16;
  if (r.productIdSuffix) settings |= create_volume_data::kSettingProductIdSuffix;
  if (!r.autoHotSwap) settings |= create_volume_data::kSettingNoAutoHotSwap;
  settings |= r.writeCaching ? create_volume_data::kSettingWriteCacheOn : create_volume_data::kSettingWriteCacheOff;
  return settings;
}

// The member objects of the new volume: the disk numbers from its page 0,
// in member order.
LibStatus AddNewMembers(LibContext* context, AdapterRecord* adapter, VolumeRecord* volume,
                        const CreateVolumeRequest& request, DeviceRecord* const* devices) {
  LibHandle adapterHandle = adapter->header.handle;
  LibHandle volumeHandle = volume->header.handle;
  PageCopy page(context);
  LibStatus status = page.Read(&adapterHandle, kPageAddressForm1 | volume->devHandle, kPageTypeRaidVolume, 0, 0,
                               kReadCurrent);
  if (status != kLibOk) return status;
  for (uint32_t i = 0; i < request.memberCount; ++i) {
    size_t entry = raid_volume_page0::kMembers + i * raid_volume_page0::kMemberSize;
    if (!page.Holds(static_cast<uint32_t>(entry), raid_volume_page0::kMemberSize)) break;
    PhysDiskRecord* disk = nullptr;
    status = AddMemberDiskRecord(context, &disk, &volumeHandle);
    if (status != kLibOk) return status;
    const DeviceRecord* device = devices[i];
    AssignObjectHandle(context, &disk->header, kKindWordPhysDisk, IocNumber(adapter), device->bus, device->target, 0);
    PutLe32(disk->info.bytes, phys_disk_info::kHandle, disk->header.handle);
    SetPhysDiskDevHandle(disk, DeviceDevHandle(device));
    Put8(disk->info.bytes, phys_disk_info::kDiskNumber,
         Get8(page.data(), entry + raid_volume_page0::kMemberDiskNumber));
    Put8(disk->info.bytes, phys_disk_info::kMemberMap, Get8(page.data(), entry + raid_volume_page0::kMemberMap));
    // As in the RAID scan, a member whose information cannot be read stays
    // with what it has.
    LibHandle diskHandle = disk->header.handle;
    uint32_t size = kPhysDiskInfoSize;
    GetPhysDiskInfo(context, &diskHandle, 0, nullptr, 0, &disk->info, &size);
    PutLe32(disk->info.bytes, phys_disk_info::kBus, device->bus);
    PutLe32(disk->info.bytes, phys_disk_info::kTarget, device->target);
  }
  return kLibOk;
}

}  // namespace

LibStatus SendCreateVolume(LibContext* context, const LibHandle* adapter, LibHandle* newVolume,
                           const CreateVolumeRequest* request, uint64_t size) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  if (request == nullptr || request->memberCount == 0 || request->memberCount > kMaxVolumeMembers) {
    return kLibBadParameter;
  }
  if (!a->infoValid) GetAdapterInfo(context, 0, adapter, nullptr, 0);
  if (!KnownVolumeType(request->volumeType)) return kLibVolumeTypeRefused;

  uint32_t n = request->memberCount;
  DeviceRecord* devices[kMaxVolumeMembers] = {};
  for (uint32_t i = 0; i < n; ++i) {
    LibHandle handle = request->members[i].deviceHandle;
    status = FindDevice(context, &handle, &devices[i], nullptr);
    if (status != kLibOk) return status;
  }
  uint64_t maxLba = 0;
  if (size != 0) {
    // A disk kept without identification has no block length to divide by.
    uint32_t blockLength = GetLe32(devices[0]->info.bytes, device_info::kBlockLength);
    if (blockLength == 0) return kLibBadParameter;
    maxLba = size / blockLength;
  }

  // Members follow the 44-byte head: the data is sized for all of them.
  uint32_t length = static_cast<uint32_t>(create_volume_data::kMembers + create_volume_data::kMemberSize * n);
  LibBuffer data(context, length);
  if (!data) return kLibNoMemory;
  uint8_t* d = data.get();
  Put8(d, create_volume_data::kMemberCount, static_cast<uint8_t>(n));
  Put8(d, create_volume_data::kVolumeType, static_cast<uint8_t>(request->volumeType));
  uint32_t flags = 0;
  if (request->backgroundInit) flags |= create_volume_data::kFlagBackgroundInit;
  if (request->lowLevelInit) flags |= create_volume_data::kFlagLowLevelInit;
  if (request->migrateData) flags |= create_volume_data::kFlagMigrate;
  if (request->defaultSettings) flags |= create_volume_data::kFlagDefaultSettings;
  PutLe32(d, create_volume_data::kFlags, flags);
  if (!request->defaultSettings) {
    PutLe32(d, create_volume_data::kSettings, CreationSettings(*request));
    Put8(d, create_volume_data::kResyncRate, request->resyncRate);
    PutLe16(d, create_volume_data::kScrubDuration, request->scrubDuration);
  }
  PutLe64(d, create_volume_data::kMaxLba, maxLba);
  PutLe32(d, create_volume_data::kStripeSize, request->stripeSize);
  std::memcpy(d + create_volume_data::kName, request->name, sizeof(request->name));
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t* member = d + create_volume_data::kMembers + i * create_volume_data::kMemberSize;
    uint8_t map = request->members[i].memberIndex;
    if (request->volumeType == kVolumeTypeRaid1) map = i == 0 ? 1 : 2;
    Put8(member, create_volume_data::kMemberRaidSet, 0);
    Put8(member, create_volume_data::kMemberMap, map);
    PutLe16(member, create_volume_data::kMemberDevHandle, DeviceDevHandle(devices[i]));
  }

  uint32_t word = request->featureRequest ? create_volume_data::kActionFeature : 0;
  uint8_t answer[raid_action_reply::kActionDataSize] = {};
  status = SendRaidActionRequest(context, adapter, kRaidActionCreateVolume, word, answer, d, &length);
  if (status != kLibOk) return status;

  VolumeRecord* volume = nullptr;
  status = AddVolumeRecord(context, &volume, adapter);
  if (status != kLibOk) return status;
  volume->devHandle = GetLe16(answer, 0);
  volume->raidType = static_cast<uint8_t>(request->volumeType);
  volume->hotSparePool = request->hotSparePool;
  uint32_t bus = kUnmapped;
  uint32_t target = kUnmapped;
  uint16_t devHandle = volume->devHandle;
  MapBusTargetHandle(context, adapter, &bus, &target, &devHandle);
  AssignObjectHandle(context, &volume->header, kKindWordVolume, IocNumber(a), bus, target, 0);
  if (newVolume != nullptr) *newVolume = volume->header.handle;
  uint8_t summary[kVolumeSummarySize] = {};
  LibHandle volumeHandle = volume->header.handle;
  status = BuildVolumeSummary(context, &volumeHandle, summary, sizeof(summary));
  if (status != kLibOk) return status;
  return AddNewMembers(context, a, volume, *request, devices);
}
