// Sizes of volumes and their members, and the adapter's sector size.
#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/discovery/discovery.h"
#include "ctl/frames/config_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/controller_limit_pages.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/raid/volume_create.h"

namespace {

constexpr uint64_t kDecimalGigabyte = 1000000000ull;
constexpr uint64_t kMiBShift = 20;
constexpr uint64_t kDefaultMetadataReserve = 0x20000000ull;  // 512 MiB

// Adapters whose firmware keeps RAID metadata at the end of each member.
bool ReservesMetadata(uint16_t deviceId) {
  return IsQmx2FamilyChip(deviceId) || deviceId == kChipAbDeviceId || IsSecondGenerationChip(deviceId);
}

}  // namespace

LibStatus RoundVolumeSize(LibContext*, uint64_t size, uint64_t* rounded) {
  if (rounded == nullptr) return kLibBadParameter;
  if (size >= kDecimalGigabyte) {
    *rounded = size - size % kDecimalGigabyte;
    return kLibOk;
  }
  uint64_t m = size >> kMiBShift;
  uint64_t t = (m + 128) / 128 * 128;
  t -= t % 10;
  if (m < t) {
    t = m / 128 * 128;
    t -= t % 10;
  }
  // Below 128 MiB nothing is left to offer: the size stays at 0 rather than
  // wrapping round.
  *rounded = t >= 2 ? (t - 2) << kMiBShift : 0;
  return kLibOk;
}

LibStatus MemberUsableSize(LibContext* context, const LibHandle* member, uint64_t* size) {
  if (size == nullptr) return kLibBadParameter;
  *size = 0;
  const uint8_t* part = nullptr;
  AdapterRecord* adapter = nullptr;
  DeviceRecord* device = nullptr;
  PhysDiskRecord* disk = nullptr;
  if (FindDevice(context, member, &device, &adapter) == kLibOk) {
    part = device->info.bytes + device_info::kDevicePart;
  } else {
    LibStatus status = FindPhysDisk(context, member, &disk, nullptr, &adapter);
    if (status != kLibOk) return status;
    part = disk->info.bytes + phys_disk_info::kDevicePart;
  }
  uint64_t bytes = (GetLe64(part, device_part::kLastLba) + 1) * GetLe32(part, device_part::kBlockLength);
  if (ReservesMetadata(adapter->deviceId)) {
    LibHandle adapterHandle = adapter->header.handle;
    uint64_t reserve = kDefaultMetadataReserve;
    uint8_t page4[manufacturing_page4::kReadSize] = {};
    uint32_t pageSize = sizeof(page4);
    bool sized = ConfigPageReadCore(context, &adapterHandle, 0, kPageTypeManufacturing, 4, 0, kReadCurrent, page4,
                                    &pageSize) == kLibOk &&
                 (GetLe32(page4, manufacturing_page4::kFlags) & manufacturing_page4::kMetadataSizeMask) != 0;
    if (sized) {
      uint8_t page6[ioc_page6::kReadSize] = {};
      pageSize = sizeof(page6);
      if (ConfigPageReadCore(context, &adapterHandle, 0, kPageTypeIoc, 6, 0, kReadCurrent, page6, &pageSize) ==
          kLibOk) {
        reserve = static_cast<uint64_t>(GetLe16(page6, ioc_page6::kMetadataReserve)) << kMiBShift;
      }
    }
    bytes = bytes > reserve ? bytes - reserve : 0;
  }
  *size = bytes;
  return kLibOk;
}

LibStatus GetAdapterSectorSize(LibContext* context, const LibHandle* adapter, uint32_t* sectorSize) {
  if (sectorSize == nullptr) return kLibBadParameter;
  *sectorSize = 512;
  uint8_t page6[ioc_page6::kReadSize] = {};
  uint32_t size = sizeof(page6);
  LibStatus status = ConfigPageReadCore(context, adapter, 0, kPageTypeIoc, 6, 0, kReadCurrent, page6, &size);
  if (status != kLibOk) return status;
  if (!(GetLe32(page6, ioc_page6::kCapabilities) & ioc_page6::kCap4kSectors)) return kLibOk;
  uint8_t page10[manufacturing_page10::kReadSize] = {};
  size = sizeof(page10);
  status = ConfigPageReadCore(context, adapter, 0, kPageTypeManufacturing, 10, 0, kReadCurrent, page10, &size);
  if (status != kLibOk) return status;
  if (!(GetLe32(page10, manufacturing_page10::kOptions) & manufacturing_page10::kOpt512Sectors)) *sectorSize = 4096;
  return kLibOk;
}
