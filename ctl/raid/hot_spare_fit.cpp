// Whether a disk can serve a volume as hot spare, and how many hot spares
// an adapter has.
#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/pages/sas_device_page0.h"
#include "ctl/raid/volume_checks.h"
#include "ctl/raid/volume_create.h"

namespace {

enum class Kind { kUnknown, kSas, kSata };

Kind KindOf(LibContext* context, const LibHandle* adapter, uint16_t devHandle, bool* read) {
  uint8_t page[sas_device_page0::kSize] = {};
  uint32_t size = sizeof(page);
  *read = ConfigPageReadCore(context, adapter, kPageAddressForm2 | devHandle, kPageTypeExtended, 0,
                             kExtPageSasDevice, kReadCurrent, page, &size) == kLibOk;
  if (!*read) return Kind::kUnknown;
  uint32_t info = GetLe32(page, sas_device_page0::kDeviceInfo);
  if (info & sas_device_page0::kInfoSspTarget) return Kind::kSas;
  if (info & (sas_device_page0::kInfoSataDevice | sas_device_page0::kInfoStpTarget)) return Kind::kSata;
  return Kind::kUnknown;
}

// What each member of the volume carries, in bytes (listed in MiB).
uint64_t VolumeMemberSizeNeeded(const VolumeRecord* volume, uint64_t maxLba) {
  uint32_t members = 0;
  for (const PhysDiskRecord* p = volume->members; p != nullptr; p = p->next) ++members;
  if (members == 0) return 0;
  uint32_t blockSize = GetLe16(volume->members->info.bytes, phys_disk_info::kBlockSize);
  uint64_t needed = maxLba * blockSize / members;
  if (volume->raidType == kVolumeTypeRaid1e || volume->raidType == kVolumeTypeRaid1) needed *= 2;
  return needed;
}

}  // namespace

LibStatus CountPoolHotSpares(LibContext* context, const LibHandle* adapter, uint32_t selector, uint32_t* count) {
  if (count != nullptr) *count = 0;
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  uint32_t found = 0;
  for (const PhysDiskRecord* p = a->hotSpares; p != nullptr; p = p->next) {
    if (selector != 0 || Get8(p->info.bytes, phys_disk_info::kHotSparePool) == 1) ++found;
  }
  if (count != nullptr) *count = found;
  return kLibOk;
}

LibStatus HotSpareFitsVolume(LibContext* context, const LibHandle* disk, const VolumeRecord* volume,
                             ConfigProblemList* problems, uint32_t* fits) {
  if (fits == nullptr || volume == nullptr) return kLibBadParameter;
  *fits = 0;
  DeviceRecord* device = nullptr;
  PhysDiskRecord* physDisk = nullptr;
  AdapterRecord* diskAdapter = nullptr;
  uint16_t diskDevHandle = 0;
  if (FindDevice(context, disk, &device, &diskAdapter) == kLibOk) {
    diskDevHandle = DeviceDevHandle(device);
  } else {
    LibStatus status = FindPhysDisk(context, disk, &physDisk, nullptr, &diskAdapter);
    if (status != kLibOk) return status;
    diskDevHandle = PhysDiskDevHandle(physDisk);
  }
  LibHandle volumeHandle = volume->header.handle;
  AdapterRecord* volumeAdapter = nullptr;
  LibStatus status = FindVolume(context, &volumeHandle, nullptr, &volumeAdapter);
  if (status != kLibOk) return status;
  LibHandle adapter = volumeAdapter->header.handle;

  if (diskAdapter != volumeAdapter) {
    AddConfigProblem(context, problems, kProblemOtherAdapter, adapter);
    return kLibFailure;
  }
  if (volume->raidType == kVolumeTypeRaid0) {
    AddConfigProblem(context, problems, kProblemRaid0Spare, 0);
    return kLibFailure;
  }
  RaidLimits limits;
  status = ReadRaidLimits(context, &adapter, &limits);
  if (status != kLibOk) return status;

  bool listed = false;
  auto problem = [&](uint32_t code, uint32_t value) -> LibStatus {
    LibStatus added = AddConfigProblem(context, problems, code, value);
    listed = true;
    return EndsCheck(added) ? added : kLibOk;
  };
  uint32_t spares = 0;
  CountPoolHotSpares(context, &adapter, 0, &spares);
  if (device != nullptr) {
    uint32_t maximum = limits.maxHotSpares;
    if (maximum <= spares && (status = problem(kProblemSpareLimit, maximum)) != kLibOk) return status;
  }
  if (limits.disksConfigured + spares >= limits.maxPhysDisks &&
      (status = problem(kProblemTotalDisks, 0)) != kLibOk) {
    return status;
  }
  if (device != nullptr) {
    status = CheckMemberDevice(context, problems, device, limits.sectorSize);
    if (status == kLibCreateProblems) listed = true;
    if (EndsCheck(status)) return status;
  }
  RaidCompatibilityQuery query{volumeHandle, *disk, 0};
  bool incompatible = false;
  uint32_t bits = 0;
  status = CompareForMix(context, &adapter, query, limits, &incompatible, &bits);
  if (status != kLibOk) return status;
  if (incompatible && (status = problem(kProblemMix, bits)) != kLibOk) return status;

  if (volume->members == nullptr) return kLibFailure;
  Kind volumeKind = Kind::kUnknown;
  for (const PhysDiskRecord* p = volume->members; p != nullptr; p = p->next) {
    bool read = false;
    volumeKind = KindOf(context, &adapter, PhysDiskDevHandle(p), &read);
    if (read) break;
  }
  bool read = false;
  Kind diskKind = KindOf(context, &adapter, diskDevHandle, &read);
  if (volumeKind != Kind::kUnknown && diskKind != Kind::kUnknown && diskKind != volumeKind &&
      (status = problem(kProblemProtocolMix, 0)) != kLibOk) {
    return status;
  }

  uint8_t page[raid_volume_page0::kHeadSize] = {};
  uint32_t size = sizeof(page);
  status = ConfigPageReadCore(context, &adapter, kPageAddressForm1 | volume->devHandle, kPageTypeRaidVolume, 0, 0,
                              kReadCurrent, page, &size);
  if (status != kLibOk) return status;
  uint64_t needed = VolumeMemberSizeNeeded(volume, GetLe64(page, raid_volume_page0::kMaxLba));
  uint64_t usable = 0;
  status = MemberUsableSize(context, disk, &usable);
  if (status != kLibOk) return status;
  if (usable < needed && (status = problem(kProblemSpareTooSmall, static_cast<uint32_t>(needed >> 20))) != kLibOk) {
    return status;
  }
  if (listed) return kLibCreateProblems;
  *fits = 1;
  return kLibOk;
}
