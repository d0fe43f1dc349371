// SAS IO unit control vendor operation 0x96: the version of the board's
// PSoC (the programmable system-on-chip that watches the board's power),
// u16 at reply byte 12, from the adapter's setting. A board without one
// answers 0 with success, as it answers any vendor operation it has no
// value for.
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"

namespace emu {
namespace {

constexpr uint8_t kPsocVersion = 0x96;

}  // namespace

void RegisterPsocOperation(Emulator& emulator) {
  emulator.RegisterIoUnitVendorOperation(kPsocVersion, [](CommandRequest& r) {
    return VendorOperationAnswer{kIocSuccess, 0, r.adapter.psocVersion};
  });
}

}  // namespace emu
