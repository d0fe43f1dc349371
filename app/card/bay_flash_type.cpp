#include "app/card/bay_flash_type.h"

#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

// Where in each module's diagnostic information the flash type lies (the
// configuration ID and the model type word).
constexpr size_t kFlashType = diag_info::kConfigId;
constexpr size_t kFlashTypeSize = 8;
static_assert(kFlashType + kFlashTypeSize <= diag_info::kReadSize);

struct Module {
  uint32_t handle;
  uint32_t slot;
};

void PrintNoDeviceInformation() {
  ConsoleDiagnostic("\n%s: Failed getting device information.\n", kUtilityTitle);
}

// The module of position `index`: a listed slot or the adapter's device.
bool ModuleAt(uint32_t adapter, uint32_t index, const uint32_t* slots, Module* module) {
  if (slots != nullptr) {
    module->slot = slots[index];
    return LibZKGetSSDHandle(adapter, slots[index], &module->handle) == 0;
  }
  LibHandle handle = adapter;
  DeviceInfoBlock record;
  MemSet(&record, 0, sizeof record);
  uint32_t size = sizeof record;
  if (QmxGetDeviceInfo(index, &handle, nullptr, &record, &size) != kLibOk) return false;
  module->handle = GetLe32(record.bytes, device_info::kHandle);
  module->slot = GetLe16(record.bytes, device_info::kSlot);
  return true;
}

}  // namespace

uint32_t CheckBayFlashType(uint32_t adapter, uint32_t count, const uint32_t* slots) {
  if (adapter == 0) return 1;
  if (slots == nullptr || count == 0) {
    slots = nullptr;
    LibHandle handle = adapter;
    if (QmxGetDeviceCount(&handle, &count) != kLibOk) {
      ConsoleDiagnostic("\n%s: Failed getting device count.\n", kUtilityTitle);
      return 1;
    }
  }
  uint8_t reference[kFlashTypeSize] = {};
  uint32_t result = 0;
  for (uint32_t index = 0; index < count; ++index) {
    Module module{};
    uint8_t diag[diag_info::kReadSize] = {};
    if (!ModuleAt(adapter, index, slots, &module) ||
        LibZKSSDGetDiagInfo(adapter, module.handle, diag, sizeof diag) != 0) {
      PrintNoDeviceInformation();
      return 1;
    }
    if (index == 0) {
      MemCopy(reference, diag + kFlashType, kFlashTypeSize);
    } else if (!MemEqual(reference, diag + kFlashType, kFlashTypeSize)) {
      ConsolePrint("\t\t SSD Flash type mismatch on bay %u\n", module.slot);
      result = 1;
    }
  }
  return result;
}
