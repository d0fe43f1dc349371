#include "app/card/modk_module.h"

#include "app/card/config_code.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"

ModkKind ModkKindOf(const uint8_t* diagInfo) {
  if (GetLe32(diagInfo, diag_info::kConfigId) != ConfigCodeWord("1591")) return ModkKind::kNone;
  switch (GetLe32(diagInfo, diag_info::kModelType)) {
    case '4': return ModkKind::k4kOptimized;
    case '8': return ModkKind::k8kOptimized;
    default: return ModkKind::kNone;
  }
}
