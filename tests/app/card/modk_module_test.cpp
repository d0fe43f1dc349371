// A MODK module is the configuration "1591" with model type '4' or '8':
// both fields must match, and each model gives its own kind.
#include <gtest/gtest.h>

#include <cstring>

#include "app/card/modk_module.h"
#include "cardlib/libzk.h"

namespace {

struct ModkCase {
  const char* configId;
  uint32_t modelType;
  ModkKind kind;
};

TEST(ModkModule, TellsTheKindFromTheConfigurationAndTheModel) {
  const ModkCase cases[] = {
      {"1591", '4', ModkKind::k4kOptimized},
      {"1591", '8', ModkKind::k8kOptimized},
      {"1591", '5', ModkKind::kNone},
      {"1591", 4, ModkKind::kNone},  // the digit, not its value
      {"1592", '4', ModkKind::kNone},
      {"2519", '8', ModkKind::kNone},
  };
  for (const ModkCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.configId << " model " << c.modelType);
    uint8_t diag[diag_info::kReadSize] = {};
    std::memcpy(diag + diag_info::kConfigId, c.configId, diag_info::kConfigIdSize);
    for (int i = 0; i < 4; ++i) diag[diag_info::kModelType + i] = static_cast<uint8_t>(c.modelType >> (8 * i));
    EXPECT_EQ(ModkKindOf(diag), c.kind);
    EXPECT_EQ(IsModkModule(diag), c.kind != ModkKind::kNone);
  }
}

}  // namespace
