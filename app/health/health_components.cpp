// The components of the health report: the card's volumes, or its device
// count when it carries no volume configuration.
#include "app/card/card_state.h"
#include "app/shell/console.h"
#include "app/health/health_steps.h"
#include "app/shell/memory_strings.h"
#include "app/card/raid_limits.h"
#include "app/card/slot_naming.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/scsi_commands.h"

namespace {

// The members of a volume that is not optimal: each that is not optimal
// itself fails its slot. false when a member cannot be read.
bool MarkMembers(HealthRun* run, LibHandle vx, const VolumeInfo& volume) {
  LibHandle volumeHandle = GetLe32(volume.bytes, volume_info::kHandle);
  uint32_t members = Get8(volume.bytes, volume_info::kMemberCount);
  if (members > kMaxVolumeMembers) members = kMaxVolumeMembers;
  for (uint32_t m = 0; m < members; ++m) {
    PhysDiskInfo disk;
    MemSet(&disk, 0, sizeof disk);
    uint32_t size = sizeof disk;
    if (GetModuleDiskInfo(&vx, nullptr, m, &volumeHandle, 1, &disk, &size) != 0) return false;
    if (GetLe32(disk.bytes, phys_disk_info::kDiskState) == kDiskStateOptimal) continue;
    uint32_t slot = GetLe16(disk.bytes, phys_disk_info::kSlot);
    if (slot < kCardModuleSlots) run->slotStatus[slot] = kHealthError;
  }
  return true;
}

uint32_t CheckVolumes(HealthRun* run, LibHandle vx) {
  bool text = run->json == nullptr;
  uint32_t volumes = 0;
  if (QmxCountVolumes(&vx, &volumes) != kLibOk) return 1;
  if (volumes == 0) {
    run->reason = kReasonNoVolume;
    run->overall = kHealthError;
    run->resultCode = kHealthResultPageUnreadable;
    if (text) ConsolePrint("\n%s: Corvexium is not in operating state.\n", kUtilityTitle);
    return 0;
  }
  for (uint32_t index = 0; index < volumes; ++index) {
    VolumeInfo volume;
    MemSet(&volume, 0, sizeof volume);
    uint32_t size = sizeof volume;
    if (QmxGetVolumeInfo(nullptr, index, &vx, 1, &volume, &size) != kLibOk) return 1;
    if (GetLe32(volume.bytes, volume_info::kVolumeInactive) != 0) {
      run->reason = kReasonVolumeInactive;
      run->overall = kHealthError;
      run->resultCode = kHealthResultPageUnreadable;
      if (text) ConsolePrint("\n%s: Corvexium is in inactive state.\n", kUtilityTitle);
    }
    uint32_t state = GetLe32(volume.bytes, volume_info::kVolumeState);
    if (state == kVolumeStateOptimal) continue;
    if (state == kVolumeStateDegraded) {
      run->reason = kReasonVolumeDegraded;
      RaiseStatus(&run->overall, kHealthWarning);
    } else {
      run->overall = kHealthError;
      run->reason = kReasonVolumeState;
    }
    if (!MarkMembers(run, vx, volume)) return 1;
  }
  return 0;
}

// Names each device present (by its slot's cage and location).
void ListDevices(LibHandle vx, uint32_t devices) {
  for (uint32_t index = 0; index < devices; ++index) {
    DeviceInfoBlock device;
    MemSet(&device, 0, sizeof device);
    uint32_t size = sizeof device;
    if (QmxGetDeviceInfo(index, &vx, nullptr, &device, &size) != kLibOk) continue;
    if (GetLe32(device.bytes, device_info::kDeviceType) == inquiry_data::kTypeUnknown) continue;
    auto slot = static_cast<uint16_t>(GetLe16(device.bytes, device_info::kSlot));
    ConsolePrint("\n%s: Component at Cage = %u, Location = %s is present.", kUtilityTitle, SlotToCage(slot),
                 SlotToLocation(slot));
  }
}

uint32_t CheckDeviceCount(HealthRun* run, LibHandle vx) {
  bool text = run->json == nullptr;
  uint32_t devices = 0;
  if (QmxGetDeviceCount(&vx, &devices) != kLibOk) {
    if (text) ConsolePrint("\n%s: Failed getting device count.\n", kUtilityTitle);
    return 1;
  }
  LoadIocPage6Limits(vx);
  uint32_t expected = RaidExpectedMembers;
  if (devices == expected) return 0;
  if (text && devices != 0) ListDevices(vx, devices);
  if (devices < expected) {
    run->overall = kHealthError;
    run->reason = kReasonTooFewDevices;
  } else {
    RaiseStatus(&run->overall, kHealthWarning);
    run->reason = kReasonTooManyDevices;
  }
  run->resultCode = kHealthResultComponents;
  if (text) {
    ConsolePrint("\n%s: Component count mismatch. Actual component count = %u and Expected component count = %u.\n",
                 kUtilityTitle, devices, expected);
  }
  return 0;
}

}  // namespace

uint32_t CheckComponents(HealthRun* run) {
  bool unconfigured = false;
  if (CheckCardState(&unconfigured) != 0) return 1;
  LibHandle vx = run->vx;
  return !unconfigured ? CheckVolumes(run, vx) : CheckDeviceCount(run, vx);
}
