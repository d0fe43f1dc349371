// The emulator's handlers: the driver's own ioctls (answered by the driver
// without the controller) and the QMX functions of the controller. Each
// driver handler answers 0 or the error number of a failed ioctl.
#pragma once

#include <cstdint>

#include "emu/controller/command_handler.h"
#include "emu/host/host_model.h"

namespace emu {

class Emulator;
struct AdapterRuntime;

// Registers every function the controller answers now; later functions are
// added here (one line each) or by tests with Emulator::RegisterFunction.
void RegisterStandardFunctions(Emulator& emulator);

FunctionHandler IocFactsHandler();
FunctionHandler PortFactsHandler();
FunctionHandler ConfigHandler();
FunctionHandler FwDownloadHandler();
FunctionHandler FwUploadHandler();
FunctionHandler ToolboxHandler();
FunctionHandler ScsiIoHandler();
FunctionHandler RaidScsiPassthroughHandler();
FunctionHandler RaidActionHandler();
FunctionHandler SepHandler();
FunctionHandler SmpPassthroughHandler();
FunctionHandler IoUnitControlHandler();
FunctionHandler TaskManagementHandler();
FunctionHandler SataPassthroughHandler();
// The SuperCap's vendor operations of SAS IO unit control (144-149).
void RegisterSuperCapOperations(Emulator& emulator);
// The PSoC version (0x96).
void RegisterPsocOperation(Emulator& emulator);

namespace driver {
int IocInformation(const AdapterModel& adapter, uint8_t* block);
// The virtual time a hard reset takes until the controller and its devices
// are back (the driver's ioctl returns then).
inline constexpr uint32_t kHardResetSeconds = 3;
int HardReset(AdapterModel& adapter, AdapterRuntime& runtime, uint8_t* block);
int MapBusTarget(const AdapterModel& adapter, uint8_t* block);
int DiagRegister(AdapterRuntime& runtime, uint8_t* block);
int DiagUnregister(AdapterRuntime& runtime, uint8_t* block);
int DiagQuery(AdapterRuntime& runtime, uint8_t* block);
int DiagRead(const AdapterModel& adapter, AdapterRuntime& runtime, uint8_t* block);
int DiagRelease(AdapterRuntime& runtime, uint8_t* block);
int EventQuery(const AdapterModel& adapter, uint8_t* block);
int EventEnable(AdapterModel& adapter, uint8_t* block);
int EventReport(const AdapterModel& adapter, uint8_t* block);
}  // namespace driver

}  // namespace emu
