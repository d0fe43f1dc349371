#include "app/dlc/dlc_models.h"

#include "app/card/config_code.h"

namespace {

struct DlcModel {
  char modelType;
  uint32_t configId;
  DlcSizeClass sizeClass;
};

constexpr DlcModel kDlcModels[] = {
    {'0', ConfigCodeWord("2519"), DlcSizeClass::kHalf}, {'1', ConfigCodeWord("2519"), DlcSizeClass::kFull},
    {'1', ConfigCodeWord("2532"), DlcSizeClass::kFull}, {'2', ConfigCodeWord("2532"), DlcSizeClass::kFull},
    {'5', ConfigCodeWord("2526"), DlcSizeClass::kFull}, {'9', ConfigCodeWord("2516"), DlcSizeClass::kFull},
};

constexpr uint32_t kFullEnabled = 781250001;
constexpr uint32_t kFullDisabled = 390625001;
constexpr uint32_t kHalfEnabled = 390625001;
constexpr uint32_t kHalfDisabled = 195312501;

}  // namespace

DlcSizeClass DlcModelClass(uint32_t modelType, uint32_t configId) {
  for (const DlcModel& model : kDlcModels) {
    if (modelType == static_cast<uint32_t>(model.modelType) && configId == model.configId) return model.sizeClass;
  }
  return DlcSizeClass::kUnsupported;
}

uint32_t DlcMaxLbaValue(DlcSizeClass sizeClass, uint8_t enable) {
  if (sizeClass == DlcSizeClass::kFull) return enable != 0 ? kFullEnabled : kFullDisabled;
  if (sizeClass == DlcSizeClass::kHalf) return enable != 0 ? kHalfEnabled : kHalfDisabled;
  return 0;
}
