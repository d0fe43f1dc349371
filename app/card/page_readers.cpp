#include "app/card/page_readers.h"

#include "app/card/config_page_layouts.h"
#include "app/card/config_page_wrappers.h"
#include "app/shell/console.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

enum : uint32_t {
  kReadSizeOnly = 0,
  kReadCurrent = 1,
  kReadNvram = 3,
};

uint32_t LastIocStatus() {
  IocStatusInfo last{};
  QmxGetLastStatus(&last);
  return last.iocStatus;
}

// The size query, a buffer of the size announced, then the read.
uint32_t ReadWholePage(uint32_t adapter, uint8_t type, uint8_t number, uint8_t extType, uint32_t readKind,
                       uint8_t** page, uint32_t* size) {
  if (page == nullptr || size == nullptr) return 1;
  *page = nullptr;
  *size = 0;
  LibHandle handle = adapter;
  uint32_t announced = 0;
  LibStatus status = ReadConfigPage(&handle, 0, type, number, extType, kReadSizeOnly, nullptr, &announced);
  if (status != kLibOk) return status;
  if (LastIocStatus() != 0 || announced == 0) return 1;
  auto* buffer = static_cast<uint8_t*>(AllocMem(announced));
  if (buffer == nullptr) {
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 1;
  }
  *page = buffer;
  uint32_t got = announced;
  status = ReadConfigPage(&handle, 0, type, number, extType, readKind, buffer, &got);
  if (status != kLibOk) return status;
  if (LastIocStatus() != 0) return 1;
  // The read may announce another size than the query did: only what both
  // the buffer and the page hold counts.
  *size = got < announced ? got : announced;
  return 0;
}

}  // namespace

uint32_t ReadIoUnitPage8(uint32_t adapter, uint8_t** page, uint32_t* size) {
  return ReadWholePage(adapter, kCfgPageTypeIoUnit, io_unit_page8::kNumber, 0, kReadNvram, page, size);
}

uint32_t ReadMfgPage10(uint32_t adapter, uint8_t** page, uint32_t* size) {
  uint32_t result = ReadWholePage(adapter, kCfgPageTypeManufacturing, mfg_page10::kNumber, 0, kReadNvram, page, size);
  if (result != 0) return result;
  if (!PageHolds(*size, mfg_page10::kSignature, 1) ||
      Get8(*page, mfg_page10::kSignature) != mfg_page10::kSignatureValue) {
    return 1;
  }
  return 0;
}

uint32_t ReadExtPage221(uint32_t adapter, uint8_t** page, uint32_t* size) {
  return ReadWholePage(adapter, kCfgPageTypeExtended, ext_page221::kNumber, kCfgExtTypeManufacturing, kReadCurrent,
                       page, size);
}

uint32_t ReadExtPage222(uint32_t adapter, uint8_t** page, uint32_t* size) {
  return ReadWholePage(adapter, kCfgPageTypeExtended, kExtPage222Number, kCfgExtTypeManufacturing, kReadCurrent,
                       page, size);
}

uint32_t ReadExtPage223(uint32_t adapter, uint8_t** page, uint32_t* size) {
  return ReadWholePage(adapter, kCfgPageTypeExtended, kExtPage223Number, kCfgExtTypeManufacturing, kReadCurrent,
                       page, size);
}

uint32_t ReadVolumeAttrPage(uint32_t adapter, uint8_t** page, uint32_t* size) {
  if (page == nullptr || size == nullptr) return 0;
  *page = nullptr;
  *size = 0;
  uint16_t length = 0;
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  if (GetCfgPageHeader(adapter, kCfgPageTypeManufacturing, mfg_page4::kNumber, 0, 0, &length, &iocStatus,
                       &iocLogInfo) == 0 ||
      length == 0) {
    return 0;
  }
  auto* buffer = static_cast<uint8_t*>(AllocMem(length));
  if (buffer == nullptr) {
    ConsoleDiagnostic("\n%s: Insufficient memory.\n", kUtilityTitle);
    return 0;
  }
  *page = buffer;
  uint32_t held = 0;
  if (GetCfgPage(adapter, kCfgPageTypeManufacturing, mfg_page4::kNumber, 0, length, kPageActionReadNvram, buffer, 0,
                 &iocStatus, &iocLogInfo, &held) == 0) {
    return 0;
  }
  *size = held;
  return PageHolds(held, mfg_page4::kMemberCount, 1) && PageHolds(held, mfg_page4::kDeviceCount, 1) ? 1 : 0;
}
