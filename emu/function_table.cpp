// The functions the emulated controller answers. A function without a
// handler answers IOCStatus 0x0001 (invalid function).
#include "emu/emulator.h"
#include "emu/handlers.h"
#include "emu/qmx_frames.h"

namespace emu {

void RegisterStandardFunctions(Emulator& emulator) {
  emulator.RegisterFunction(qmx::kFnIocFacts, IocFactsHandler());
  emulator.RegisterFunction(qmx::kFnPortFacts, PortFactsHandler());
  emulator.RegisterFunction(qmx::kFnConfig, ConfigHandler());
  emulator.RegisterFunction(qmx::kFnFwDownload, FwDownloadHandler());
  emulator.RegisterFunction(qmx::kFnFwUpload, FwUploadHandler());
  emulator.RegisterFunction(qmx::kFnToolbox, ToolboxHandler());
}

}  // namespace emu
