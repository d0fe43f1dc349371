// The SuperCap behind the SAS IO unit control vendor operations, answered
// from the adapter's settings: 144 starts the health test (IOCStatus 0, or
// 8 while one is running), 145 the current health and 146 the voltage
// (both IOCStatus 2, busy, while the supercap-busy count lasts; each such
// answer uses one up), 147 the power-on hours, 148 the voltage threshold,
// 149 a further value. The value goes to reply byte 12.
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"

namespace emu {
namespace {

enum SuperCapOperation : uint8_t {
  kStartTest = 144,
  kHealth = 145,
  kVoltage = 146,
  kPowerOnHours = 147,
  kVoltageThreshold = 148,
  kExtra = 149,
};

VendorOperationAnswer Value(uint16_t value) { return VendorOperationAnswer{kIocSuccess, 0, value}; }

// 145 and 146 measure, and say busy while the measurement is not ready.
VendorOperationAnswer Measured(AdapterModel& a, uint16_t value) {
  if (a.superCapBusy > 0) {
    --a.superCapBusy;
    return VendorOperationAnswer{kIocBusy, 0, 0};
  }
  return Value(value);
}

}  // namespace

void RegisterSuperCapOperations(Emulator& emulator) {
  emulator.RegisterIoUnitVendorOperation(kStartTest, [](CommandRequest& r) {
    return VendorOperationAnswer{r.adapter.superCapTestStatus, 0, 0};
  });
  emulator.RegisterIoUnitVendorOperation(kHealth, [](CommandRequest& r) {
    return Measured(r.adapter, r.adapter.superCapHealth);
  });
  emulator.RegisterIoUnitVendorOperation(kVoltage, [](CommandRequest& r) {
    return Measured(r.adapter, r.adapter.superCapVoltage);
  });
  emulator.RegisterIoUnitVendorOperation(kPowerOnHours, [](CommandRequest& r) {
    return Value(r.adapter.superCapHours);
  });
  emulator.RegisterIoUnitVendorOperation(kVoltageThreshold, [](CommandRequest& r) {
    return Value(r.adapter.superCapVoltageThreshold);
  });
  emulator.RegisterIoUnitVendorOperation(kExtra, [](CommandRequest& r) {
    return Value(r.adapter.superCapExtra);
  });
}

}  // namespace emu
