// How a module's life left and temperature move the health verdicts, and
// the warranty remaining that life left gives.
#include <gtest/gtest.h>

#include <cstring>

#include "app/health/health_evaluation.h"

namespace {

TEST(HealthEvaluation, LifeLeftAgainstTheThresholds) {
  struct Case {
    uint8_t error, warning, life;
    uint32_t status;
    uint32_t reason;  // 99: none recorded
  };
  const Case cases[] = {
      // The defaults, 10 and 20.
      {10, 20, 10, 2, 10}, {10, 20, 11, 1, 99}, {10, 20, 20, 1, 99}, {10, 20, 21, 0, 99}, {10, 20, 0, 2, 10},
      // Manufacturing page 10 with 15 (warning) and 5 (error).
      {5, 15, 5, 2, 10}, {5, 15, 6, 1, 99}, {5, 15, 15, 1, 99}, {5, 15, 16, 0, 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.life));
    HealthRun run;
    run.reason = 99;
    run.thresholds.lifeLeftError = c.error;
    run.thresholds.lifeLeftWarning = c.warning;
    EvaluateLifeLeft(&run, 5, c.life, static_cast<float>(c.life));
    EXPECT_EQ(run.slotStatus[5], c.status);
    EXPECT_EQ(run.reason, c.reason);
    EXPECT_EQ(run.overall, kHealthGood);  // the slot verdict comes later
  }
}

TEST(HealthEvaluation, TemperatureAgainstTheThresholds) {
  struct Case {
    uint16_t warning, error;
    uint32_t t;
    uint32_t status;
    uint32_t reason;
  };
  const Case cases[] = {
      {70, 80, 69, 0, 99}, {70, 80, 70, 1, 99}, {70, 80, 79, 1, 99}, {70, 80, 80, 2, 11}, {70, 80, 255, 2, 11},
      // Board type 7 with IO unit page 8 at 60 and 75.
      {60, 75, 59, 0, 99}, {60, 75, 60, 1, 99}, {60, 75, 74, 1, 99}, {60, 75, 75, 2, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    HealthRun run;
    run.reason = 99;
    run.thresholds.tempWarning = c.warning;
    run.thresholds.tempError = c.error;
    EvaluateTemperature(&run, 4, c.t);
    EXPECT_EQ(run.slotStatus[4], c.status);
    EXPECT_EQ(run.reason, c.reason);
  }
}

TEST(HealthEvaluation, ASlotVerdictOnlyRises) {
  HealthRun run;
  EvaluateTemperature(&run, 6, 85);  // error
  EvaluateLifeLeft(&run, 6, 15, 15.0f);  // a warning does not lower it
  EXPECT_EQ(run.slotStatus[6], kHealthError);
  EXPECT_EQ(run.reason, 11u);
  EvaluateLifeLeft(&run, 6, 5, 5.0f);  // the last reason recorded is the one reported
  EXPECT_EQ(run.reason, 10u);
}

TEST(HealthEvaluation, WorstModuleWithAVolumeLastModuleWithout) {
  HealthRun configured;
  EvaluateLifeLeft(&configured, 4, 95, 95.5f);
  EvaluateLifeLeft(&configured, 5, 40, 40.2f);
  EvaluateLifeLeft(&configured, 6, 90, 90.0f);
  EXPECT_FLOAT_EQ(configured.lifeLeft, 40.2f);
  EXPECT_EQ(WarrantyRemaining(configured.lifeLeft), 33);
  EvaluateTemperature(&configured, 4, 50);
  EvaluateTemperature(&configured, 5, 38);
  EXPECT_EQ(configured.temperature, 50);

  HealthRun unconfigured;
  unconfigured.unconfigured = true;
  EvaluateLifeLeft(&unconfigured, 4, 40, 40.2f);
  EXPECT_EQ(WarrantyRemaining(unconfigured.lifeLeft), 33);
  EvaluateLifeLeft(&unconfigured, 5, 95, 95.5f);
  EXPECT_EQ(WarrantyRemaining(unconfigured.lifeLeft), 95);
  EvaluateTemperature(&unconfigured, 4, 50);
  EvaluateTemperature(&unconfigured, 5, 38);
  EXPECT_EQ(unconfigured.temperature, 38);
}

TEST(HealthEvaluation, TheFractionHoldsTheDigitsAfterThePoint) {
  struct Case {
    uint16_t digits;
    float fraction;
  };
  const Case cases[] = {{0, 0.0f}, {5, 0.05f}, {57, 0.57f}, {99, 0.99f}, {100, 0.100f}, {570, 0.570f},
                        {999, 0.999f}, {1000, 0.1f}, {9999, 0.9999f}, {10000, 0.1f}, {65535, 0.65535f}};
  for (const Case& c : cases) {
    float f = LifeLeftFraction(c.digits);
    EXPECT_FLOAT_EQ(f, c.fraction) << c.digits;
    EXPECT_GE(f, 0.0f);
    EXPECT_LT(f, 1.0f);
  }
}

TEST(HealthEvaluation, WarrantyRemaining) {
  struct Case {
    float life;
    uint8_t warranty;
  };
  const Case cases[] = {
      {100.0f, 100}, {96.57f, 96}, {55.5f, 50}, {40.2f, 33}, {15.0f, 5}, {11.0f, 1}, {10.0f, 0}, {5.0f, 0},
      {0.0f, 0},
      // A normalized value above 100 (255 and its fraction at most) stays
      // within the byte's meaning instead of wrapping.
      {100.5f, 100}, {200.0f, 100}, {255.99f, 100},
  };
  for (const Case& c : cases) EXPECT_EQ(WarrantyRemaining(c.life), c.warranty) << c.life;
  float notANumber = 0.0f;
  std::memset(&notANumber, 0xFF, sizeof notANumber);
  EXPECT_EQ(WarrantyRemaining(notANumber), 0);
}

}  // namespace
