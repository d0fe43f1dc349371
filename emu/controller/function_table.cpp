// The functions the emulated controller answers, and the vendor operations
// of SAS IO unit control it knows. A function without a handler answers
// IOCStatus 0x0001 (invalid function).
#include "emu/host/emulator.h"
#include "emu/controller/handlers.h"
#include "emu/controller/qmx_frames.h"

namespace emu {

void RegisterStandardFunctions(Emulator& emulator) {
  emulator.RegisterFunction(qmx::kFnIocFacts, IocFactsHandler());
  emulator.RegisterFunction(qmx::kFnPortFacts, PortFactsHandler());
  emulator.RegisterFunction(qmx::kFnConfig, ConfigHandler());
  emulator.RegisterFunction(qmx::kFnFwDownload, FwDownloadHandler());
  emulator.RegisterFunction(qmx::kFnFwUpload, FwUploadHandler());
  emulator.RegisterFunction(qmx::kFnToolbox, ToolboxHandler());
  emulator.RegisterFunction(qmx::kFnScsiIo, ScsiIoHandler());
  emulator.RegisterFunction(qmx::kFnRaidScsiPassthrough, RaidScsiPassthroughHandler());
  emulator.RegisterFunction(qmx::kFnRaidAction, RaidActionHandler());
  emulator.RegisterFunction(qmx::kFnSep, SepHandler());
  emulator.RegisterFunction(qmx::kFnSmpPassthrough, SmpPassthroughHandler());
  emulator.RegisterFunction(qmx::kFnIoUnitControl, IoUnitControlHandler());
  emulator.RegisterFunction(qmx::kFnTaskManagement, TaskManagementHandler());
  emulator.RegisterFunction(qmx::kFnSataPassthrough, SataPassthroughHandler());
  RegisterSuperCapOperations(emulator);
  RegisterPsocOperation(emulator);
}

}  // namespace emu
