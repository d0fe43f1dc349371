#include "ctl/objects/object_tree.h"
#include "ctl/devices/phy_power_settings.h"

namespace {

bool HasCapability(const LinkPowerCaps& caps, PhyPowerVariant variant) {
  if (caps.valid != 1) return false;
  return (variant == PhyPowerVariant::kSlumber ? caps.slumberCapable : caps.partialCapable) == 1;
}

struct PhySettings {
  PhyPowerVariant variant;
  uint8_t timeout;
  uint32_t exponent;
  uint32_t disable;
};

LibStatus ApplyToDevice(LibContext* context, const AdapterRecord* adapter, const DeviceRecord* device,
                        const PhySettings& s) {
  if (!HasCapability(DeviceLinkPowerCaps(device), s.variant)) return kLibFailure;
  LibHandle handle = adapter->header.handle;
  return UpdateSasPhySettings(context, s.variant, &handle, DeviceDevHandle(device), s.exponent, s.timeout,
                              s.disable);
}

LibStatus ApplyToPhysDisk(LibContext* context, const AdapterRecord* adapter, const PhysDiskRecord* disk,
                          const PhySettings& s) {
  if (!HasCapability(PhysDiskLinkPowerCaps(disk), s.variant)) return kLibFailure;
  LibHandle handle = adapter->header.handle;
  return UpdateSasPhySettings(context, s.variant, &handle, PhysDiskDevHandle(disk), s.exponent, s.timeout,
                              s.disable);
}

}  // namespace

LibStatus WalkDevicesApply(LibContext* context, PhyPowerVariant variant, const LibHandle* adapter,
                           uint32_t oneObject, const LibHandle* object, uint8_t timeout, uint32_t exponent,
                           uint32_t disable) {
  AdapterRecord* a = nullptr;
  LibStatus status = FindAdapter(context, adapter, &a);
  if (status != kLibOk) return status;
  PhySettings settings{variant, timeout, exponent, disable};

  if (oneObject) {
    DeviceRecord* device = nullptr;
    if (FindDevice(context, object, &device, nullptr) == kLibOk) {
      return ApplyToDevice(context, a, device, settings);
    }
    PhysDiskRecord* disk = nullptr;
    status = FindPhysDisk(context, object, &disk, nullptr, nullptr);
    if (status != kLibOk) return status;
    return ApplyToPhysDisk(context, a, disk, settings);
  }

  for (DeviceRecord* d = a->devices; d != nullptr; d = d->next) {
    if (ApplyToDevice(context, a, d, settings) != kLibOk) return kLibFailure;
  }
  bool failed = false;
  LibStatus last = kLibOk;
  for (VolumeRecord* v = a->volumes; v != nullptr; v = v->next) {
    for (PhysDiskRecord* p = v->members; p != nullptr; p = p->next) {
      last = ApplyToPhysDisk(context, a, p, settings) == kLibOk ? kLibOk : kLibFailure;
      if (last != kLibOk) {
        failed = true;
        break;
      }
    }
  }
  if (last != kLibFailure) {
    for (PhysDiskRecord* p = a->hotSpares; p != nullptr; p = p->next) {
      if (ApplyToPhysDisk(context, a, p, settings) != kLibOk) return kLibFailure;
    }
  }
  return failed ? kLibFailure : kLibOk;
}
