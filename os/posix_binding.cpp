// Binds the shipped program to the POSIX port.
#include "os/posix_port.h"

namespace os {

Port& ActivePort() {
  static PosixPort port;
  return port;
}

}  // namespace os
