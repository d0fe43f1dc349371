#include "app/format/op_target.h"

#include "app/shell/console.h"
#include "app/card/device_protocol.h"
#include "app/shell/app_buffer.h"
#include "app/shell/memory_strings.h"
#include "app/card/module_ata.h"
#include "app/shell/program_state.h"
#include "app/format/ssd_capacity.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "cardlib/modules/module_commands.h"
#include "cardlib/modules/module_handles.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

// The member count of the card's volumes (the last one read counts). 0 with
// the count, or 1 after the message.
uint32_t CountVolumeMembers(LibHandle vx, uint32_t volumeCount, uint32_t* count) {
  AppBuffer volumeBuffer(sizeof(VolumeInfo));
  auto* volume = volumeBuffer.As<VolumeInfo>();
  if (volume == nullptr) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  uint32_t result = 0;
  for (uint32_t index = 0; index < volumeCount; ++index) {
    uint32_t size = sizeof(VolumeInfo);
    if (QmxGetVolumeInfo(nullptr, index, &vx, 1, volume, &size) != kLibOk) {
      ConsolePrint("\nFailed to get RAID volume information.");
      result = 1;
      break;
    }
    LibHandle volumeHandle = GetLe32(volume->bytes, volume_info::kHandle);
    if (QmxCountMemberDisks(&volumeHandle, count) != kLibOk) {
      ConsolePrint("\nFailed to get RAID Phys disk count.");
      result = 1;
      break;
    }
  }
  return result;
}

}  // namespace

uint32_t ComputeOpTarget(uint32_t* supported, const FormatOptions* options, uint32_t* target,
                         uint32_t volumeExists, uint32_t volumeDegraded, uint32_t volumeCount) {
  *supported = 0;
  AdapterInfoBlock adapter;
  MemSet(&adapter, 0, sizeof adapter);
  uint32_t size = sizeof adapter;
  if (QmxGetAdapterInfo(SelectedController - 1, nullptr, &adapter, &size) != kLibOk) {
    ConsolePrint("\nERROR: Failed getting controller information.\n");
    return 1;
  }
  LibHandle vx = adapter.adapterHandle;

  uint32_t modules = 0;
  if (volumeExists != 0 && volumeDegraded != 0) {
    if (CountVolumeMembers(vx, volumeCount, &modules) != 0) return 1;
  } else {
    uint32_t counted = LibZKCountSSDs(vx, &modules);
    if (counted != 0) {
      ConsolePrint("\n%s: Failed getting device count.\n", kUtilityTitle);
      return counted;
    }
  }
  if (modules == 0) return 0;

  uint32_t ssd = kNoModuleHandle;
  uint32_t slot = 0;
  uint32_t lookup = 0;
  bool found = false;
  for (; slot < kCardModuleSlots; ++slot) {
    if (options->allSlots == 0 && slot != options->slot) continue;
    lookup = LibZKGetSSDHandle(vx, slot, &ssd);
    if (lookup == 0) {
      found = true;
      break;
    }
  }
  if (!found) return lookup;

  uint32_t protocol = 0;
  uint32_t result = GetDeviceProtocol(slot, &protocol);
  if (result != 0) return result;

  uint32_t capacity = 0;
  uint32_t nativeMax = 0;
  if (protocol == kProtocolSata) {
    DiagInfoBlock diag;
    MemSet(&diag, 0, sizeof diag);
    uint32_t read = LibZKSSDGetDiagInfo(vx, ssd, diag.bytes, diag_info::kReadSize);
    if (read != 0) {
      ConsolePrint("Failed to get diagnostic information.\n");
      return read;
    }
    result = ReadNativeMaxAddress(vx, ssd, &nativeMax);
    if (result != 0) {
      ConsolePrint("Failed to get native max address.\n");
      nativeMax = 0;
    }
    uint32_t modelType = GetLe32(diag.bytes, diag_info::kModelType);
    uint32_t configId = GetLe32(diag.bytes, diag_info::kConfigId);
    if (GetSsdCapacity(vx, ssd, modelType, configId, static_cast<uint16_t>(slot), &capacity) != 0) return 1;
  } else if (protocol == kProtocolSas) {
    capacity = kSasModuleCapacity;
  } else {
    return 1;
  }

  uint32_t wanted = options->maxLbaGiven != 0 ? options->opValue : OpMaxLba(capacity, options->opValue);
  if (wanted <= nativeMax) *supported = 1;
  if (protocol == kProtocolSas && wanted <= kSasModuleLbaLimit) *supported = 1;
  *target = wanted;
  return result;
}
