#include "app/health/health_evaluation.h"

#include "app/health/single_precision.h"

namespace {

// The float nearest to 10/9 (bits 0x3F8E38E4): 90 % of life maps to 100 %.
constexpr float kWarrantyFactor = 1.1111112f;
constexpr float kWarrantyMaximum = 100.0f;

void SetSlotStatus(HealthRun* run, uint32_t slot, uint32_t status) {
  if (slot < kCardModuleSlots) RaiseStatus(&run->slotStatus[slot], status);
}

}  // namespace

float LifeLeftFraction(uint16_t digits) {
  float divisor = digits < 100 ? 100.0f : digits < 1000 ? 1000.0f : digits < 10000 ? 10000.0f : 100000.0f;
  return SinglePrecision(static_cast<float>(digits) / divisor);
}

void EvaluateLifeLeft(HealthRun* run, uint32_t slot, uint32_t level, float value) {
  if (run->unconfigured || value < run->lifeLeft) run->lifeLeft = value;
  if (level <= run->thresholds.lifeLeftError) {
    SetSlotStatus(run, slot, kHealthError);
    run->reason = kReasonLifeLeft;
  } else if (level <= run->thresholds.lifeLeftWarning) {
    SetSlotStatus(run, slot, kHealthWarning);
  }
}

void EvaluateTemperature(HealthRun* run, uint32_t slot, uint32_t temperature) {
  auto t = static_cast<uint8_t>(temperature > 0xFF ? 0xFF : temperature);
  if (run->unconfigured || t > run->temperature) run->temperature = t;
  if (temperature >= run->thresholds.tempError) {
    SetSlotStatus(run, slot, kHealthError);
    run->reason = kReasonTemperature;
  } else if (temperature >= run->thresholds.tempWarning) {
    SetSlotStatus(run, slot, kHealthWarning);
  }
}

uint8_t WarrantyRemaining(float lifeLeft) {
  float life = lifeLeft > kLifeLeftFloor ? lifeLeft : kLifeLeftFloor;
  float warranty = SinglePrecision((life - kLifeLeftFloor) * kWarrantyFactor);
  if (!(warranty >= 0.0f)) return 0;
  if (warranty > kWarrantyMaximum) return static_cast<uint8_t>(kWarrantyMaximum);
  return static_cast<uint8_t>(warranty);
}
