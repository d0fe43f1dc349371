// Asynchronous event notification: the driver signals the process through
// a descriptor kept open on the first-generation control node. Only the
// notification signal gets a handler (one that does nothing): the signals a
// user or the runtime stops the program with keep their own handling.
#include "ctl/discovery/discovery.h"
#include "ctl/events/events.h"
#include "os/port.h"

namespace {
constexpr uint32_t kNotificationNode = 1;  // /dev/qmx2ctl
}  // namespace

LibStatus EnableAsyncEvents(LibContext* context) {
  if (context == nullptr) return kLibBadParameter;
  if (context->asyncEventsEnabled != 0) return kLibOk;  // one descriptor serves every adapter
  os::Port& port = os::ActivePort();
  int descriptor = port.OpenNode(ControlNodePath(kNotificationNode), os::NodeAccess::kReadOnly);
  if (descriptor < 0) return static_cast<LibStatus>(port.LastErrorNumber());
  if (!port.IgnoreNotificationSignal() || !port.OwnDescriptor(descriptor) || !port.SetAsyncMode(descriptor)) {
    LibStatus error = static_cast<LibStatus>(port.LastErrorNumber());
    port.CloseNode(descriptor);
    return error;
  }
  context->asyncEventDescriptor = descriptor;
  context->asyncEventsEnabled = 1;
  return kLibOk;
}
