#include "ctl/facade/facade_context.h"
#include "ctl/devices/phy_power_settings.h"
#include "ctl/facade/qmx.h"

LibStatus QmxSetPartialPowerSettings(const LibHandle* adapter, uint32_t oneObject, const LibHandle* object,
                                     uint8_t timeout, uint32_t exponent, uint32_t disable) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return WalkDevicesApply(context, PhyPowerVariant::kPartial, adapter, oneObject, object, timeout, exponent,
                          disable);
}

LibStatus QmxSetSlumberPowerSettings(const LibHandle* adapter, uint32_t oneObject, const LibHandle* object,
                                     uint8_t timeout, uint32_t exponent, uint32_t disable) {
  LibContext* context = BoundContext();
  if (context == nullptr) return kLibFailure;
  return WalkDevicesApply(context, PhyPowerVariant::kSlumber, adapter, oneObject, object, timeout, exponent,
                          disable);
}
