// How one module's attributes move the run's figures and verdicts: life
// left against its thresholds, the temperature against its thresholds, and
// the warranty remaining that life left gives.
#pragma once

#include <cstdint>

#include "app/health/health_run.h"

// The fraction that bits 16-31 of the life attribute's raw low word carry:
// the decimal digits after the point (57 gives 0.57, 570 gives 0.570, 5
// gives 0.05), in [0, 1).
float LifeLeftFraction(uint16_t digits);

// Life left of one module (the normalized value n plus the fraction). With a
// volume the card keeps its worst module, without one the last module read.
// The level compared (n; a SAS module's whole value) at or below the error
// threshold: the slot ERROR, reason 10; at or below the warning threshold:
// the slot at least WARNING.
void EvaluateLifeLeft(HealthRun* run, uint32_t slot, uint32_t level, float value);

// The temperature of one module (the attribute's normalized value): with a
// volume the card keeps the highest, without one the last. At or above the
// error threshold: ERROR, reason 11; at or above the warning threshold: at
// least WARNING.
void EvaluateTemperature(HealthRun* run, uint32_t slot, uint32_t temperature);

// (max(life left, 10) - 10) × 10/9, truncated and kept within 0 to 100: a
// normalized value above 100 cannot overflow the byte.
uint8_t WarrantyRemaining(float lifeLeft);
