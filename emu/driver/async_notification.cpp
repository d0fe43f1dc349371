// Asynchronous notification as the driver and the kernel would take it: the
// handler of the notification signal, a descriptor's owner and its
// asynchronous mode, each recorded so that a test can see what was asked.
#include <cerrno>

#include "emu/host/emulator.h"

namespace emu {

bool Emulator::NotificationStepFails(NotificationStep step) {
  auto armed = notificationFailures_.find(step);
  if (armed == notificationFailures_.end()) return false;
  lastError_ = armed->second;
  notificationFailures_.erase(armed);
  return true;
}

bool Emulator::IgnoreNotificationSignal() {
  if (NotificationStepFails(NotificationStep::kHandler)) return false;
  notificationHandler_ = true;
  return true;
}

bool Emulator::OwnDescriptor(int descriptor) {
  if (NotificationStepFails(NotificationStep::kOwner)) return false;
  auto open = descriptors_.find(descriptor);
  if (open == descriptors_.end()) {
    lastError_ = EBADF;
    return false;
  }
  open->second.owned = true;
  return true;
}

bool Emulator::SetAsyncMode(int descriptor) {
  if (NotificationStepFails(NotificationStep::kAsyncMode)) return false;
  auto open = descriptors_.find(descriptor);
  if (open == descriptors_.end()) {
    lastError_ = EBADF;
    return false;
  }
  open->second.async = true;
  return true;
}

bool Emulator::DescriptorReadOnly(int descriptor) const {
  auto open = descriptors_.find(descriptor);
  return open != descriptors_.end() && open->second.readOnly;
}

bool Emulator::DescriptorOwned(int descriptor) const {
  auto open = descriptors_.find(descriptor);
  return open != descriptors_.end() && open->second.owned;
}

bool Emulator::DescriptorAsync(int descriptor) const {
  auto open = descriptors_.find(descriptor);
  return open != descriptors_.end() && open->second.async;
}

}  // namespace emu
