#include "app/card/raid_volume_ops.h"

#include "app/card/bay_flash_type.h"
#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/shell/console.h"
#include "app/card/device_by_slot.h"
#include "app/card/device_protocol.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/card/page_readers.h"
#include "app/card/raid_limits.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

constexpr uint32_t kRaidTypeRaid1 = 2;
constexpr uint32_t kDeleteOptionKeepMetadata = 0;
constexpr uint32_t kDeleteOptionWhole = 1;
constexpr char kRaid0Name[] = "RAID0";

IocStatusInfo FetchStatus() {
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  return last;
}

void PrintCannotRemove() { ConsolePrint("%s: Cannot  remove existing volume!\n", kUtilityTitle); }

void PrintRequestStatus() {
  IocStatusInfo last = FetchStatus();
  ConsolePrint("%s: IocStatus = %x IocLogInfo = %x\n", kUtilityTitle, last.iocStatus, last.iocLogInfo);
}

// Stores the two counts in the volume attributes and writes them to NVRAM.
uint32_t UpdateVolumeAttributes(uint32_t vx, uint8_t memberCount, uint8_t deviceCount) {
  PageCopy page;
  if (!ReadVolumeAttrPage(vx, &page)) {
    ConsolePrint("%s: Unable to retrieve volume attributes \n", kUtilityTitle);
    return 1;
  }
  Put8(page.data(), manufacturing_page4::kMemberCount, memberCount);
  Put8(page.data(), manufacturing_page4::kDeviceCount, deviceCount);
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  uint32_t written =
      SetCfgPage(vx, kConfigActionWriteNvram, manufacturing_page4::kWriteAddress, page.data(), &iocStatus, &iocLogInfo);
  if (written == 0) {
    ConsolePrint("%s: Unable to update volume attributes \n", kUtilityTitle);
    return 1;
  }
  return 0;
}

// Deletes the first volume. 0 or 1 after its message.
uint32_t DeleteFirstVolume(LibHandle vx, uint32_t* option) {
  AppBuffer held(sizeof(VolumeInfo));
  auto* volume = held.As<VolumeInfo>();
  if (volume == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  uint32_t size = sizeof(VolumeInfo);
  if (QmxGetVolumeInfo(nullptr, 0, &vx, 1, volume, &size) != kLibOk) {
    PrintCannotRemove();
    return 1;
  }
  // Once a volume of another type than RAID1 was met, every delete from it
  // on removes the volume whole.
  if (GetLe32(volume->bytes, volume_info::kRaidType) != kRaidTypeRaid1) *option = kDeleteOptionWhole;
  LibHandle handle = GetLe32(volume->bytes, volume_info::kHandle);
  if (QmxDeleteVolume(&handle, *option) != kLibOk) {
    PrintRequestStatus();
    PrintCannotRemove();
    return 1;
  }
  return 0;
}

}  // namespace

uint32_t DeleteRaidVolume(uint32_t adapterIndex) {
  uint32_t vx = 0;
  if (LibZKGetVXHandle(adapterIndex, &vx) != 0) return 1;
  LibHandle handle = vx;
  uint32_t volumes = 0;
  if (QmxCountVolumes(&handle, &volumes) != kLibOk) {
    FetchStatus();
    PrintCannotRemove();
    return 1;
  }
  uint32_t option = kDeleteOptionKeepMetadata;
  for (uint32_t i = 0; i < volumes; ++i) {
    if (DeleteFirstVolume(handle, &option) != 0) return 1;
  }
  uint32_t result = 0;
  if (QmxRefreshAdapter(&handle) != kLibOk) result = 1;
  uint32_t modules = 0;
  if (LibZKCountSSDs(vx, &modules) != 0) {
    result = 1;
    modules = 0;
  }
  if (UpdateVolumeAttributes(vx, static_cast<uint8_t>(modules), static_cast<uint8_t>(modules)) != 0) return 1;
  if (QmxRefreshAdapter(&handle) != kLibOk) return 1;
  return result;
}

uint32_t CreateRaidVolume(uint32_t adapterIndex, uint32_t memberCount, const uint32_t* slots, uint32_t volumeType) {
  uint32_t vx = 0;
  if (LibZKGetVXHandle(adapterIndex, &vx) != 0) {
    ConsolePrint("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return 1;
  }
  if (slots == nullptr || volumeType != kVolumeTypeRaid0Only) return 1;
  bool allSata = true;
  for (uint32_t i = 0; i < memberCount; ++i) {
    // A module whose protocol cannot be told must not pass as one that
    // needs no flash-type check.
    uint32_t protocol = 0;
    if (GetDeviceProtocol(slots[i], &protocol) != 0) return 1;
    if (protocol != kProtocolSata) allSata = false;
  }
  if (allSata && CheckBayFlashType(vx, memberCount, slots) != 0) return 1;

  LoadIocPage6Limits(vx);
  if (memberCount < RaidMinMembers || memberCount > RaidExpectedMembers || memberCount > kMaxVolumeMembers) {
    ConsolePrint("%s: Incorrect number of devices specified for %s !\n", kUtilityTitle, kRaid0Name);
    return 1;
  }
  LibHandle handle = vx;
  uint32_t devices = 0;
  if (QmxGetDeviceCount(&handle, &devices) != kLibOk) {
    FetchStatus();
    devices = 0;
  }
  if (devices <= 1) {
    ConsolePrint("%s: Insufficient number of drives available to create a RAID volume!\n", kUtilityTitle);
    return 1;
  }
  if (devices < memberCount) {
    ConsolePrint("%s: Number of drives specified is higher than number of drives available to create a RAID volume!\n",
                 kUtilityTitle);
    return 1;
  }

  AppBuffer requestBuffer(sizeof(CreateVolumeRequest));
  AppBuffer recordBuffer(sizeof(DeviceInfoBlock));
  auto* request = requestBuffer.As<CreateVolumeRequest>();
  auto* record = recordBuffer.As<DeviceInfoBlock>();
  if (request == nullptr || record == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  request->size = kCreateVolumeRequestSize;
  request->commit = 1;
  request->volumeType = kVolumeTypeRaid0;
  request->memberCount = static_cast<uint8_t>(memberCount);
  request->lowLevelInit = 1;
  request->defaultSettings = 1;
  request->problems.size = kConfigProblemListSize;
  for (uint32_t i = 0; i < memberCount; ++i) {
    if (FindDeviceBySlot(vx, slots[i], record) != 0) {
      ConsolePrint("%s: Drive specified by SSD slot %u is not available to create a RAID volume.\n", kUtilityTitle,
                   slots[i]);
      return 1;
    }
    request->members[i].entrySize = sizeof(CreateVolumeMember);
    request->members[i].deviceHandle = GetLe32(record->bytes, device_info::kHandle);
    request->members[i].memberIndex = static_cast<uint8_t>(i);
  }
  LibHandle newVolume = 0;
  LibStatus created = QmxCreateVolume(&handle, &newVolume, request);
  if (created != kLibOk) {
    PrintRequestStatus();
    return 1;
  }
  return UpdateVolumeAttributes(vx, static_cast<uint8_t>(memberCount), static_cast<uint8_t>(devices));
}
