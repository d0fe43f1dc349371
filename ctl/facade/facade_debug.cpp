#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "ctl/facade/facade_context.h"
#include "ctl/facade/qmx.h"
#include "os/port.h"

namespace {

constexpr size_t kDebugLineSize = 1024;

void WriteLine(const char* text) {
  os::Port& port = os::ActivePort();
  port.WriteOut(text, std::strlen(text));
  port.WriteOut("\n", 1);
}

}  // namespace

void QmxLibDebugPrint(uint32_t level, const char* format, ...) {
  LibContext* context = BoundContext();
  if (context == nullptr || (level & context->debugMask) == 0 || format == nullptr) return;
  IocStatusInfo status{};
  QmxGetLastStatus(&status);
  char line[kDebugLineSize];
  int used = std::snprintf(line, sizeof(line), "QMXLIB2: [%3d,%3d]", static_cast<int>(status.iocStatus),
                           static_cast<int>(status.iocLogInfo));
  if (used < 0) return;
  if (static_cast<size_t>(used) < sizeof(line)) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line + used, sizeof(line) - used, format, arguments);
    va_end(arguments);
  }
  if (!context->debugIntroPrinted) {
    context->debugIntroPrinted = 1;
    WriteLine("Debug Print format is:");
    WriteLine("QMXLIB2: [ IOCStattus, IOCLogInfo ] File name: Function name: Line number: Description");
  }
  WriteLine(line);
}
