#include "app/card/adapter_reset.h"

#include "ctl/facade/qmx.h"

AdapterResetResult ResetAndRebuildAdapter(uint32_t adapter) {
  LibHandle handle = adapter;
  AdapterResetResult result;
  result.reset = QmxResetAdapter(&handle);
  result.rebuild = QmxRefreshAdapter(&handle);
  return result;
}
