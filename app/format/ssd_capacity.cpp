#include "app/format/ssd_capacity.h"

#include <cmath>

#include "app/card/config_code.h"
#include "app/card/module_ata.h"
#include "app/health/single_precision.h"
#include "cardlib/unlock/module_unlock.h"
#include "module_unlock_constants.h"

namespace {

struct FixedCapacity {
  char modelType;
  uint32_t configId;
  uint32_t capacity;
};

// First match wins.
constexpr FixedCapacity kFixedCapacities[] = {
    {'4', ConfigCodeWord("1591"), 64},  {'8', ConfigCodeWord("1591"), 64},  {'3', ConfigCodeWord("2512"), 64},
    {'1', ConfigCodeWord("2514"), 64},  {'5', ConfigCodeWord("1506"), 64},  {'4', ConfigCodeWord("2519"), 512},
    {'6', ConfigCodeWord("2525"), 512}, {'0', ConfigCodeWord("2519"), 128}, {'9', ConfigCodeWord("2518"), 128},
    {'9', ConfigCodeWord("2516"), 256}, {'1', ConfigCodeWord("2519"), 256}, {'5', ConfigCodeWord("2526"), 256},
    {'1', ConfigCodeWord("2532"), 256},
};

constexpr uint32_t kIdentifySectorsOffset = 256;
constexpr uint8_t kUnlockLevel = 1;

}  // namespace

uint32_t GetSsdCapacityFromIdentify(uint32_t vxHandle, uint32_t ssdHandle, uint16_t slot,
                                    uint32_t* capacity) {
  uint32_t status = LibZKSSDUnlock(vxHandle, ssdHandle, kUnlockLevel, kModuleUnlockCredential);
  if (status != 0) return status;
  uint8_t identify[kDiagIdentifySize] = {};
  status = DiagIdentify(vxHandle, ssdHandle, slot, identify);
  if (status != 0) return status;
  const uint8_t* p = identify + kIdentifySectorsOffset;
  uint32_t sectors = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                     static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
  // The sector count is taken to single precision first (a 24-bit
  // mantissa), as the module firmware computes its own figure.
  float gigabytes = SinglePrecision(static_cast<float>(sectors));
  gigabytes = SinglePrecision(gigabytes * 512.0f);
  gigabytes = SinglePrecision(gigabytes * 9.31322574615478515625e-10f);  // 2^-30
  *capacity = static_cast<uint32_t>(gigabytes);
  return 0;
}

bool FixedSsdCapacity(uint32_t modelType, uint32_t configId, uint32_t* capacity) {
  for (const FixedCapacity& entry : kFixedCapacities) {
    if (modelType == static_cast<uint32_t>(entry.modelType) && configId == entry.configId) {
      *capacity = entry.capacity;
      return true;
    }
  }
  return false;
}

uint32_t GetSsdCapacity(uint32_t vxHandle, uint32_t ssdHandle, uint32_t modelType,
                        uint32_t configId, uint16_t slot, uint32_t* capacity) {
  if (FixedSsdCapacity(modelType, configId, capacity)) return 0;
  return GetSsdCapacityFromIdentify(vxHandle, ssdHandle, slot, capacity) == 0 ? 0 : 1;
}

uint32_t OpMaxLba(uint32_t capacity, uint32_t percentage) {
  const float n = SinglePrecision(static_cast<float>(capacity));
  const float p = SinglePrecision(static_cast<float>(percentage));
  const float ratio = SinglePrecision(100.0f / SinglePrecision(p + 100.0f));
  float x = SinglePrecision(n * 1073741824.0f);
  x = SinglePrecision(x * 0.001953125f);
  x = SinglePrecision(x * ratio);
  const double d = static_cast<double>(x) * 0.9313225746;
  // The low 32 bits of the truncated value; any fraction rounds up.
  const double whole = std::trunc(d);
  uint32_t target = static_cast<uint32_t>(static_cast<uint64_t>(whole));
  if (d != whole) ++target;
  return target;
}
